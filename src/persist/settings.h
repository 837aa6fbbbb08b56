#pragma once

#include <QList>
#include <QSize>
#include <QString>

// Everything Corvane keeps in Conf.txt, as the file holds it: window sizes and
// column widths in twips (1440 to the inch), the main window's rectangle in
// pixels, the job as its selector position. A default-constructed value holds
// the defaults of the settings table (settingfield.h) that do not depend on the
// screen; see Settings::defaults.
struct Settings
{
    Settings();

    // The main window's normal (not minimised or maximised) rectangle, pixels.
    int formLeft{};
    int formTop{};
    int formRight{};
    int formBottom{};

    // The job's position in the job selector, 1 = ファイル名置換. A damaged
    // file may hold any number: the caller falls back to the default job.
    int jobPosition{};
    bool stayOnTop{};
    bool semiTransparent{};
    int opacity{}; // used while semi-transparent; the caller keeps it to 0..255
    QString commandFileFolder; // "init dir": may be empty or name a folder that is gone
    bool menuBarShown{};

    // Numbering and date-step inputs, as the boxes hold them.
    QString startNo;
    QString digits;
    QString step;
    QString stepMinutes;
    bool addTop{};
    QString separator;

    bool showId3Choice{}; // the frame with the two ID3 check boxes
    bool tagV1{};
    bool tagV2{};

    // Every column of the main list, twips; only the first five are read back.
    QList<int> listColumnWidths;
    // Empty name and size 0 leave the list's own font.
    QString listFontName;
    double listFontSize{};

    // The direct data editor window, twips.
    int dataEditorHeight{};
    int dataEditorWidth{};

    // The option menu's flags.
    bool onlyTopFolder{};
    bool noTry{};
    bool noConfirm{};
    bool errorContinue{};
    bool ignoreCase{};
    bool regOrder{};

    // The execute histories of the search and replace boxes, tab-separated.
    QString searchHistory;
    QString replaceHistory;

    // The regular-expression template window, twips.
    int templateLeft{};
    int templateTop{};
    int templateWidth{};
    int templateHeight{};

    // The live preview of the planned names while the inputs are typed.
    bool livePreview{};

    // The part of a name the file-name replace works on: 0 all, 1 the name, 2 the extension.
    int replaceScope{};
    // The time-stamp jobs take each file's EXIF moment.
    bool useExifTime{};

    // The MP3 list's columns, twips. Read from the file but never written: the
    // command files of the MP3 job keep them.
    QList<int> mp3ColumnWidths;

    // The defaults: the main window 800 × 300 pixels centred on a screen of
    // the given size, the list's font as the window designs it.
    static Settings defaults(QSize screenPixels, const QString &listFontName = {}, double listFontSize = 0);

    static QList<int> defaultListColumnWidths();
    static QList<int> defaultMp3ColumnWidths();

    bool operator==(const Settings &other) const = default;
};

// Passed to a list of (setting, field) pairs that says which field of another
// object holds a setting while Corvane runs: one list serves both directions.
struct SettingsLoader
{
    const Settings &settings;
    template <typename Value>
    void operator()(Value Settings::*setting, Value &field) const
    {
        field = settings.*setting;
    }
};

struct SettingsStorer
{
    Settings &settings;
    template <typename Value>
    void operator()(Value Settings::*setting, const Value &field) const
    {
        settings.*setting = field;
    }
};

// Conversions between the twips of the file and the pixels of a screen with
// the given logical resolution (dots per inch).
int PixelsFromTwips(int twips, double dotsPerInch);
int TwipsFromPixels(int pixels, double dotsPerInch);
