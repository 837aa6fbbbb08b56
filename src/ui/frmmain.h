#pragma once

#include "engine/sortstate.h"
#include "persist/settings.h"

#include "engine/planoutcome.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>

class JobController;
class Mp3FieldStrip;
class Mp3TemplateGroup;
class NumberingGroup;
class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QToolBar;
class ReplaceGroup;
class TimeStampGroup;
class UserChannel;
class LivePreview;
class RenameRowModel;
class RowListView;
class TagRowModel;

// Corvane's main window. It lays out the input groups, the commands and the
// lists, follows the controller's rows, options and command states, and hands
// every click, key and drop to the controller; it decides nothing about files.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    // A QtUserChannel gets the window's progress frame.
    frmMain(JobController &controller, UserChannel &user, bool debug, QWidget *parent = nullptr);
    ~frmMain() override;

    // The window keys of the settings: placement, display options, columns,
    // list font, secondary windows. Call before the window is shown.
    void applySettings(const Settings &settings);
    // Everything Conf.txt keeps, as it stands now.
    Settings currentSettings() const;

    // A widget or action by its name ("cmdSetInf", "txtStNo", "bt_up", "mnuTry"…).
    template <class T>
    T *control(const QString &name) const { return findChild<T *>(name); }
    QAction *action(const QString &name) const { return m_actions.value(name); }
    RowListView *listV() const { return m_listV; }
    RowListView *listVMp3() const { return m_listVMp3; }
    RowListView *activeList() const;
    RenameRowModel *listModel() const { return m_model; }
    TagRowModel *mp3Model() const { return m_mp3Model; }
    Mp3FieldStrip *fieldStrip() const;

    // The commands behind the menus, for the dialogs' results.
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

    // Follows the controller: states, inputs, job, caption, selection.
    void refresh();
    LivePreview *livePreview() const { return m_preview; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QAction *menuAction(QMenu *menu, const QString &name, const QString &text, std::function<void()> slot);
    QAction *menuOption(QMenu *menu, const QString &name, const QString &text, std::function<void(bool)> slot);
    void buildMenus();
    void buildToolBar();
    QWidget *buildCommands(QWidget *parent);
    QWidget *buildLists(QWidget *parent);
    void bindParts();
    void refreshCommands();
    void refreshSetup();
    void refreshOptions();
    void applyListColumns(const QList<int> &twips);
    void applyMp3Columns(const QList<int> &twips);
    QList<int> mp3ColumnTwips() const;
    int pixels(int twips) const;
    int twips(int pixels) const;
    void forgetSortOrder();
    void rememberTextBox(QWidget *box);

    void chooseFolder();
    void chooseFiles();
    QString startFolder() const;
    void newCommandFile();
    void openCommandFile();
    void saveCommandFile();
    void saveCommandFileAs();
    void listCommandFiles();
    void toggleMenuBar();
    void chooseListFont();
    void tryCommand();
    void executeCommand();
    void restoreCommand();
    void restoreFileNames();
    void openHelp();
    void openRegExpHelp();
    void openAbout();
    void openVarList();
    void openTemplate();
    void jobChosen(int position);
    void showTryOutcome(const PlanOutcome &outcome);
    void rowClicked(const QModelIndex &index);

    JobController &m_controller;
    UserChannel &m_user;
    bool m_debug;
    Settings m_settings;
    SortState m_sort;
    SortState m_mp3Sort;
    int m_mp3Column = 1; // the MP3 list's column clicked last, 1-based
    QList<int> m_appliedMp3Widths;
    bool m_closeAfterRun = false;
    QPointer<QWidget> m_lastTextBox;
    // Where the keyboard focus was when a run disabled the window.
    QPointer<QWidget> m_focusBeforeRun;
    LivePreview *m_preview = nullptr;

    QHash<QString, QAction *> m_actions;
    QToolBar *m_toolBar = nullptr;
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
