#pragma once

#include <QList>
#include <QSize>
#include <QString>

// Everything Corvane keeps in Conf.txt, as the file holds it: window sizes and
// column widths in twips (1440 to the inch), the main window's rectangle in
// pixels, the job as its selector position. A default-constructed value holds
// the defaults that do not depend on the screen; see Settings::defaults.
struct Settings
{
    // The main window's normal (not minimised or maximised) rectangle, pixels.
    int formLeft = 0;
    int formTop = 0;
    int formRight = 800;
    int formBottom = 300;

    // The job's position in the job selector, 1 = ファイル名置換. A damaged
    // file may hold any number: the caller falls back to the default job.
    int jobPosition = 1;
    bool stayOnTop = false;
    bool semiTransparent = false;
    int opacity = 150; // used while semi-transparent; the caller keeps it to 0..255
    QString commandFileFolder; // "init dir": may be empty or name a folder that is gone
    bool menuBarShown = false;

    // Numbering and date-step inputs, as the boxes hold them.
    QString startNo = QStringLiteral(" 1");
    QString digits = QStringLiteral(" 2");
    QString step = QStringLiteral("  1");
    QString stepMinutes = QStringLiteral("  0");
    bool addTop = true;
    QString separator;

    bool showId3Choice = false; // the frame with the two ID3 check boxes
    bool tagV1 = true;
    bool tagV2 = true;

    // Every column of the main list, twips; only the first five are read back.
    QList<int> listColumnWidths = defaultListColumnWidths();
    // Empty name and size 0 leave the list's own font.
    QString listFontName;
    double listFontSize = 0;

    // The direct data editor window, twips.
    int dataEditorHeight = 6000;
    int dataEditorWidth = 7000;

    // The option menu's flags. The caller mirrors onlyTopFolder and noConfirm
    // into the process-wide flags once they are read.
    bool onlyTopFolder = false;
    bool noTry = false;
    bool noConfirm = false;
    bool errorContinue = false;
    bool ignoreCase = false;
    bool regOrder = false;

    // The execute histories of the search and replace boxes, tab-separated.
    QString searchHistory;
    QString replaceHistory;

    // The regular-expression template window, twips.
    int templateLeft = 2100;
    int templateTop = 2100;
    int templateWidth = 11250;
    int templateHeight = 7500;

    // The MP3 list's columns, twips. Read from the file but never written: the
    // command files of the MP3 job keep them.
    QList<int> mp3ColumnWidths = defaultMp3ColumnWidths();

    // The defaults: the main window 800 × 300 pixels centred on a screen of
    // the given size, the list's font as the window designs it.
    static Settings defaults(QSize screenPixels, const QString &listFontName = {}, double listFontSize = 0);

    static QList<int> defaultListColumnWidths();
    static QList<int> defaultMp3ColumnWidths();

    bool operator==(const Settings &other) const = default;
};

// Conversions between the twips of the file and the pixels of a screen with
// the given logical resolution (dots per inch).
int PixelsFromTwips(int twips, double dotsPerInch);
int TwipsFromPixels(int pixels, double dotsPerInch);
