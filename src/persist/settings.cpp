#include "persist/settings.h"

#include "persist/settingfield.h"

#include <cmath>

Settings::Settings()
{
    for (const SettingField &field : SettingFields())
        field.reset(this);
}

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
    return Settings().listColumnWidths;
}

QList<int> Settings::defaultMp3ColumnWidths()
{
    return Settings().mp3ColumnWidths;
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
