#pragma once

#include <QPointer>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class UserChannel;

// "検索": finds a plain text in the direct data editor's text box, selects
// each hit in turn, and replaces the current hit or every hit. Unless
// "厳密一致" is on, letter case and full/half width are ignored.
class frmSearch : public QWidget
{
    Q_OBJECT

public:
    frmSearch(UserChannel &user, QPlainTextEdit *target, QWidget *parent = nullptr);

    // The first position at or after from (0-based) where needle occurs in
    // haystack, or -1; exact compares code units, otherwise case and width are ignored.
    static int find(const QString &haystack, const QString &needle, int from, bool exact);
    // Each character folded for the loose comparison, one for one.
    static QString looseForm(const QString &text);

    QLineEdit *searchBox() const { return m_search; }
    QLineEdit *replaceBox() const { return m_replace; }
    QCheckBox *exactBox() const { return m_exact; }
    QCheckBox *replaceCheck() const { return m_replaceCheck; }
    QPushButton *findNextButton() const { return m_findNext; }
    QPushButton *replaceNextButton() const { return m_replaceNext; }
    QPushButton *replaceAllButton() const { return m_replaceAll; }
    QLabel *statusLabel() const { return m_status; }
    // The 1-based position of the current hit, 0 for none.
    int hitPosition() const { return m_hit; }

    void findNext();
    void replaceNext();
    void replaceAll();

protected:
    void changeEvent(QEvent *event) override;

private:
    void begin();
    void end();
    void showReplacePart(bool shown);
    void replaceRange(int start, int length, const QString &text);

    UserChannel &m_user;
    QPointer<QPlainTextEdit> m_target;
    QLineEdit *m_search;
    QCheckBox *m_exact;
    QCheckBox *m_replaceCheck;
    QWidget *m_replacePart;
    QLineEdit *m_replace;
    QPushButton *m_replaceNext;
    QPushButton *m_replaceAll;
    QPushButton *m_findNext;
    QLabel *m_status;
    int m_hit = 0;
};
