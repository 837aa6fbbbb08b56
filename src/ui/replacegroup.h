#pragma once

#include <QWidget>

class ClickLabel;
class HistoryCombo;
class JobController;
class QCheckBox;
class QComboBox;
class UserChannel;

// The search and replace boxes (frReplace) with their history, the links to
// the regular-expression help, the variable list and the templates, and
// "データを直接指定". Double-clicking a box's label opens the input dialog.
class ReplaceGroup : public QWidget
{
    Q_OBJECT

public:
    ReplaceGroup(JobController &controller, UserChannel &user, QWidget *parent = nullptr);

    HistoryCombo *searchBox() const { return m_cmbSearch; }
    HistoryCombo *replaceBox() const { return m_cmbReplace; }
    // Follows the controller's inputs and job set-up.
    void refresh();

Q_SIGNALS:
    void regExpHelpRequested();
    void varListRequested();
    void templateRequested();
    // The search or replace box took the focus: the variable list inserts there.
    void textBoxFocused(QWidget *box);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ClickLabel *link(const QString &name, const QString &text, const QString &tip);
    void bindInputs();
    // An invalid search shows in the box's colour and tool-tip before any Try;
    // each edit refreshes the group.
    void markSearch();

    JobController &m_controller;
    UserChannel &m_user;
    HistoryCombo *m_cmbSearch;
    HistoryCombo *m_cmbReplace;
    ClickLabel *m_lblReplace;
    QCheckBox *m_chkManual;
    QComboBox *m_cmbScope;
};
