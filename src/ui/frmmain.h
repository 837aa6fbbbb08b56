#pragma once

#include "engine/sortstate.h"
#include "persist/settings.h"
#include "ui/mp3listsink.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>

class ClickLabel;
class HistoryCombo;
class JobController;
class Mp3FieldStrip;
class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimeEdit;
class QToolBar;
class UserChannel;
class RenameRowModel;
class RowListView;
class TagRowModel;

// Corvane's main window. It binds the controller's rows, inputs, options and
// command states to widgets and hands every click, key and drop to the
// controller or the engine; it decides nothing about files itself.
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
    Mp3FieldStrip *fieldStrip() const { return m_fieldStrip; }

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

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *menuAction(QMenu *menu, const QString &name, const QString &text, std::function<void()> slot);
    QAction *menuOption(QMenu *menu, const QString &name, const QString &text, std::function<void(bool)> slot);
    void buildMenus();
    void buildToolBar();
    QWidget *buildCommands(QWidget *parent);
    QWidget *buildNumbering(QWidget *parent);
    QWidget *buildReplace(QWidget *parent);
    QWidget *buildTimeStamp(QWidget *parent);
    QWidget *buildLists(QWidget *parent);
    void bindInputs();
    void refreshInputs();
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
    void editBox(QWidget *box, int index);
    void resetFieldTemplates();
    void jobChosen(int position);
    void rowClicked(const QModelIndex &index);
    void checkDigits();

    JobController &m_controller;
    UserChannel &m_user;
    bool m_debug;
    Settings m_settings;
    Mp3ListSink m_sink;
    SortState m_sort;
    SortState m_mp3Sort;
    int m_mp3Column = 1; // the MP3 list's column clicked last, 1-based
    QList<int> m_appliedMp3Widths;
    bool m_checkingDigits = false;
    bool m_closeAfterRun = false;
    QPointer<QWidget> m_lastTextBox;

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

    QWidget *m_frNumbering = nullptr;
    QLineEdit *m_txtFileName = nullptr;
    QLineEdit *m_txtSample = nullptr;
    QLineEdit *m_txtStNo = nullptr;
    QComboBox *m_cmbDigits = nullptr;
    QComboBox *m_cmbStep = nullptr;
    QLineEdit *m_txtSeparator = nullptr;
    QCheckBox *m_chkAddTop = nullptr;

    QWidget *m_frReplace = nullptr;
    HistoryCombo *m_cmbSearch = nullptr;
    HistoryCombo *m_cmbReplace = nullptr;
    ClickLabel *m_lblReplace = nullptr;
    QCheckBox *m_chkManual = nullptr;
    QWidget *m_frTarget = nullptr;
    QComboBox *m_cmbReplaceTarget = nullptr;
    QGroupBox *m_frID3 = nullptr;
    QCheckBox *m_chkID3v1 = nullptr;
    QCheckBox *m_chkID3v2 = nullptr;
    QWidget *m_frFields = nullptr;
    Mp3FieldStrip *m_fieldStrip = nullptr;

    QWidget *m_frTimeStamp = nullptr;
    QLabel *m_lblTimeStamp = nullptr;
    QDateEdit *m_dtpDate = nullptr;
    QTimeEdit *m_dtpTime = nullptr;
    QComboBox *m_cmbMinutes = nullptr;

    RowListView *m_listV = nullptr;
    RowListView *m_listVMp3 = nullptr;
    RenameRowModel *m_model = nullptr;
    TagRowModel *m_mp3Model = nullptr;
};
