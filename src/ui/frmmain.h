#pragma once

#include "engine/rows/sortstate.h"

#include "engine/jobs/planoutcome.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class CommandFileDialogs;
class JobController;
class ListColumns;
class MainMenus;
class Mp3FieldStrip;
class Mp3TemplateGroup;
class NumberingGroup;
class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QtUserChannel;
class ReplaceGroup;
class TimeStampGroup;
class UserChannel;
class WindowSettings;
class LivePreview;
class RenameRowModel;
class SettingsFile;
struct Settings;
class RowListView;
class TagRowModel;

// Corvane's main window. It lays out the input groups, the commands and the
// lists, follows the controller's rows, options and command states, and hands
// every click, key and drop to the controller; it decides nothing about files.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    // The window keeps its own settings in the file's one copy and saves the
    // file when it closes.
    frmMain(JobController &controller, UserChannel &user, SettingsFile &settings, bool debug,
            QWidget *parent = nullptr);
    ~frmMain() override;
    // The windowed program's channel shows runs in this window's progress
    // frame and status bar, until the window goes.
    void showRunsIn(QtUserChannel &channel);

    // The window keys of the settings as the file holds them: placement,
    // display options, columns, list font. Call before the window is shown.
    void applySettings();

    // A widget or action by its name ("cmdSetInf", "txtStNo", "bt_up", "mnuTry"…).
    template <class T>
    T *control(const QString &name) const { return findChild<T *>(name); }
    QAction *action(const QString &name) const;
    RowListView *listV() const { return m_listV; }
    RowListView *listVMp3() const { return m_listVMp3; }
    RowListView *activeList() const;
    RenameRowModel *listModel() const { return m_model; }
    TagRowModel *mp3Model() const { return m_mp3Model; }
    Mp3FieldStrip *fieldStrip() const;

    // The commands behind the menus and buttons, and the dialogs' results.
    void chooseFolder();
    void chooseFiles();
    void loadFolder(const QString &folder);
    void readFiles(const QStringList &paths);
    void dropPaths(const QStringList &paths, int row);
    void dropRows(int row);
    void sortByColumn(int column);
    void selectAll();
    void moveSelected(int step);
    void deleteSelected();
    void deleteAll();
    void setBusy(bool busy);
    void requestStop();
    void copyList();
    void editDirectData();
    void setMenuBarShown(bool shown, bool tell);
    void setStayOnTop(bool on);
    void setSemiTransparent(bool on);
    void chooseListFont();
    void tryCommand();
    void executeCommand();
    void restoreCommand();
    void restoreFileNames();
    // Opens one of the shipped web pages, saying so meanwhile.
    void openWebPage(bool (*open)());
    void openAbout();
    // A new list or a new order: no column shows a sort indicator.
    void forgetSortOrder();

    // Follows the controller: states, inputs, job, caption, selection.
    void refresh();
    LivePreview *livePreview() const { return m_preview; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *buildCommands(QWidget *parent);
    QWidget *buildLists(QWidget *parent);
    QFrame *buildProgress(QWidget *parent);
    void bindParts();
    void refreshCommands();
    void refreshSetup();
    void applyMp3Columns(const QList<int> &twips);
    void rememberTextBox(QWidget *box);

    QString startFolder() const;
    void toggleMenuBar();
    void openVarList();
    void openTemplate();
    void jobChosen(int position);
    void labelProgress(const QString &doing);
    void rowClicked(const QModelIndex &index);

    JobController &m_controller;
    UserChannel &m_user;
    SettingsFile &m_settingsFile;
    Settings &m_settings;
    bool m_debug;
    SortState m_sort;
    SortState m_mp3Sort;
    int m_mp3Column = 1; // the MP3 list's column clicked last, 1-based
    QtUserChannel *m_runChannel = nullptr;
    bool m_closeAfterRun = false;
    QPointer<QWidget> m_lastTextBox;
    // Where the keyboard focus was when a run disabled the window.
    QPointer<QWidget> m_focusBeforeRun;
    LivePreview *m_preview = nullptr;

    std::unique_ptr<CommandFileDialogs> m_commandFiles;
    MainMenus *m_menus = nullptr;
    std::unique_ptr<ListColumns> m_columns;
    std::unique_ptr<WindowSettings> m_windowSettings;
    QComboBox *m_cmbTarget = nullptr;
    QLabel *m_lblCnt = nullptr;
    QPushButton *m_cmdSetInf = nullptr;
    QPushButton *m_cmdSetFile = nullptr;
    QPushButton *m_cmdRestore = nullptr;
    QString m_lastFolder;
    QPushButton *m_cmdAllSelect = nullptr;
    QPushButton *m_cmdStop = nullptr;
    QFrame *m_frProg = nullptr;
    QProgressBar *m_prog = nullptr;

    NumberingGroup *m_numbering = nullptr;
    ReplaceGroup *m_replace = nullptr;
    TimeStampGroup *m_timeStamp = nullptr;
    Mp3TemplateGroup *m_mp3Templates = nullptr;

    RowListView *m_listV = nullptr;
    RowListView *m_listVMp3 = nullptr;
    RenameRowModel *m_model = nullptr;
    TagRowModel *m_mp3Model = nullptr;
};
