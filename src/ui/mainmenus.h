#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

class CommandFileDialogs;
class JobController;
class QAction;
class QMenu;
class QToolBar;
class frmMain;
struct RunOptions;

// The main window's menu bar and tool bar. Every entry has a name ("mnuTry",
// "bt_save") by which the window and its tests reach it; a tool bar button
// only triggers its twin in the menus, so the two cannot do different things.
class MainMenus : public QObject
{
public:
    MainMenus(frmMain &window, CommandFileDialogs &commandFiles, JobController &controller);

    QAction *action(const QString &name) const { return m_actions.value(name); }
    // The menu the lists open on a right click.
    QMenu *editMenu() const { return m_edit; }
    // A checkable entry and its tool bar twin, set without triggering either.
    void setChecked(const QString &menuName, bool on);
    // While a run lets events through, nothing is offered; afterwards the
    // window's refresh decides again.
    void setEnabled(bool on);
    // The option menu's check marks, as the controller holds the options.
    void refreshOptions(const RunOptions &options);

private:
    QAction *add(QMenu *menu, const QString &name, const QString &text, std::function<void()> slot);
    QAction *addOption(QMenu *menu, const QString &name, const QString &text, std::function<void(bool)> slot);
    void buildMenus(CommandFileDialogs &commandFiles);
    void buildToolBar();

    frmMain &m_window;
    JobController &m_controller;
    QHash<QString, QAction *> m_actions;
    QMenu *m_edit = nullptr;
    QToolBar *m_toolBar = nullptr;
};
