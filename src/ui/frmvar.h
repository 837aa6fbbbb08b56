#pragma once

#include "ui/funchelp.h"
#include "ui/texttarget.h"

#include <QWidget>

class QListWidget;
class UserChannel;

// The variable and function list: a small pick-list at the mouse pointer.
// Clicking an entry puts its name into the target box in place of the
// selection remembered when the list opened, leaves the caret at the start of
// the name and closes the list. It closes as soon as another window comes to
// the front. Hovering an entry shows its help from parts/func.html.
//
// Opening from a window: frmVar::open(user, box, TextTarget(box).caretText(), this).
class frmVar : public QWidget
{
    Q_OBJECT

public:
    // caretText is the caret position, a TAB and the selection length.
    frmVar(UserChannel &user, QWidget *target, const QString &caretText, QWidget *parent = nullptr);

    // Creates the list at the pointer and shows it; it deletes itself on closing.
    static frmVar *open(UserChannel &user, QWidget *target, const QString &caretText, QWidget *parent = nullptr);

    // Every entry: a name, a TAB and a description; "!" starts a group
    // heading, an empty entry ends a group.
    // The tool-tip of a link that opens the list.
    static QString linkHint() { return QStringLiteral("使用できる変数/関数の一覧－クリックで挿入出来ます。"); }
    static QStringList entries();

    QListWidget *lstVar() const { return m_lstVar; }
    const FuncHelp &help() const { return m_help; }
    // Reads the help document now (opening schedules it for the first idle moment).
    void loadHelp();
    // The tool-tip text for the entry at a point of the list, empty for none.
    QString toolTipAt(QPoint viewportPoint);

    // What a click on the entry in that list row does.
    void choose(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    UserChannel &m_user;
    TextTarget m_target;
    int m_caret = 0;
    int m_selection = 0;
    QListWidget *m_lstVar;
    FuncHelp m_help;
};
