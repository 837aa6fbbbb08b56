#pragma once

#include "ui/texttarget.h"

#include <QDialog>

class QKeyEvent;
class QLabel;
class QMenu;
class QMouseEvent;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class UserChannel;

// "編集": a larger editing window for one of the main window's narrow boxes.
// It opens at the pointer with the box's text and writes the text back on
// "OK" only; "キャンセル" and the close box leave the box as it was.
//
// Opening from a window: frmInput::edit(user, box, index, this), where index is
// the box's index within its group (1 for the replace box, which shows the
// variable-list label; 0 for the search box and the separator box).
class frmInput : public QDialog
{
    Q_OBJECT

public:
    static constexpr int MinimumFontSize = 9;
    static constexpr int MaximumFontSize = 40;

    frmInput(UserChannel &user, QWidget *target, int index, QWidget *parent = nullptr);

    // Opens the dialog at the pointer and waits until it closes. Returns
    // whether the text was written back.
    static bool edit(UserChannel &user, QWidget *target, int index, QWidget *parent = nullptr);
    // The tool-tip of a box or label that opens the dialog on a double click.
    static QString openHint() { return QStringLiteral("ダブルクリックで編集フォームが開きます"); }

    QPlainTextEdit *txtInput() const { return m_txtInput; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }
    QToolButton *fontUpButton() const { return m_up; }
    QToolButton *fontDownButton() const { return m_down; }
    QLabel *lblVar() const { return m_lblVar; }
    int fontSize() const;
    // The one-line text as it will be written back.
    QString text() const;

    void accept() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void changeFontSize(int step);
    void chooseFont();
    void openVarList();
    bool refusesKey(const QKeyEvent *key) const;

    UserChannel &m_user;
    TextTarget m_target;
    bool m_separator;
    QPlainTextEdit *m_txtInput;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    QToolButton *m_up;
    QToolButton *m_down;
    QLabel *m_lblVar;
    QLabel *m_lblComSw;
    QMenu *m_mnuEdit;
    QPoint m_dragOffset;
};
