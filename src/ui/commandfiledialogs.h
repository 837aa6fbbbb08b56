#pragma once

#include <QString>

class JobController;
class UserChannel;
class frmMain;
struct Settings;

// The file menu's command-file entries: the dialogs that choose a command file
// to read or a name to save under, over the controller that reads and writes it.
// The folder they open in is the "init dir" setting, which saving under a new
// name moves.
class CommandFileDialogs
{
public:
    CommandFileDialogs(frmMain &window, JobController &controller, UserChannel &user, Settings &settings);

    void newFile();
    void open();
    // Saves under the current command file's name, or asks for one.
    void save();
    void saveAs();
    // The command-file list window; a folder without command files is chosen first.
    void list();

private:
    QString folder() const;

    frmMain &m_window;
    JobController &m_controller;
    UserChannel &m_user;
    Settings &m_settings;
};
