#pragma once

// Window sizes in Corvane's settings are twips: 1440 to the inch, converted
// through the screen's logical resolution.
namespace Twips {
constexpr int PerInch = 1440;

inline int toPixels(int twips, double dotsPerInch)
{
    return static_cast<int>(twips * dotsPerInch / PerInch + (twips >= 0 ? 0.5 : -0.5));
}
inline int fromPixels(int pixels, double dotsPerInch)
{
    return static_cast<int>(pixels * PerInch / dotsPerInch + (pixels >= 0 ? 0.5 : -0.5));
}
}
