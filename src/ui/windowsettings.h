#pragma once

class ListColumns;
class frmMain;
struct Settings;

// The main window's own keys of Conf.txt, kept in the settings file's one copy:
// its normal rectangle, the display options and the live preview, the main
// list's column widths and the lists' font. The MP3 list's widths belong to
// the controller.
class WindowSettings
{
public:
    WindowSettings(frmMain &window, ListColumns &columns, Settings &settings);

    // Before the window is shown: placed (kept on a smaller screen), options
    // and columns as the settings hold them.
    void apply();
    // The window as it stands now, into the settings.
    void store();

private:
    frmMain &m_window;
    ListColumns &m_columns;
    Settings &m_settings;
};
