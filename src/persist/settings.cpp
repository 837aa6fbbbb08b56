#include "persist/settings.h"

#include <cmath>

Settings Settings::defaults(QSize screenPixels, const QString &listFontName, double listFontSize)
{
    Settings settings;
    settings.formLeft = (screenPixels.width() - 800) / 2;
    settings.formTop = (screenPixels.height() - 300) / 2;
    settings.formRight = (screenPixels.width() + 800) / 2;
    settings.formBottom = (screenPixels.height() + 300) / 2;
    settings.listFontName = listFontName;
    settings.listFontSize = listFontSize;
    return settings;
}

QList<int> Settings::defaultListColumnWidths()
{
    // Five visible columns that persist, the folder column, then the four
    // hidden ones.
    return {3200, 3200, 2200, 2200, 1500, 8000, 0, 0, 0, 0};
}

QList<int> Settings::defaultMp3ColumnWidths()
{
    return {2000, 2200, 1800, 1600, 1000, 1000, 1000, 800, 1200, 0, 0, 3100, 0};
}

int PixelsFromTwips(int twips, double dotsPerInch)
{
    return static_cast<int>(std::lround(twips * dotsPerInch / 1440.0));
}

int TwipsFromPixels(int pixels, double dotsPerInch)
{
    if (dotsPerInch <= 0)
        return 0;
    return static_cast<int>(std::lround(pixels * 1440.0 / dotsPerInch));
}
