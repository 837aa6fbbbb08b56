#pragma once

#include <QString>
#include <QStringList>

// The two histories of a search or replace box. The execute history records
// the text of every Execute and is what the settings keep; the drop-down list
// is rebuilt from it whenever the box drops down, and in between collects the
// texts of successful Tries. Equality is exact: letter case counts.
class InputHistory
{
public:
    // After every Execute: text first, older entries after it, without any
    // entry equal to text and without empty entries.
    void recordExecute(const QString &text);

    // The execute history as one tab-separated string, most recent first.
    QString executeHistoryText() const { return m_executed.join(u'\t'); }
    void setExecuteHistoryText(const QString &text);
    const QStringList &executeHistory() const { return m_executed; }

    // Rebuilds the drop-down list from the execute history: most recent first,
    // or sorted ascending ignoring letter case when regOrder is on.
    const QStringList &rebuildDropDown(bool regOrder);

    // After a Try that planned: text goes to the top of the drop-down list.
    void promote(const QString &text);

    // The user deleted an entry from the open drop-down list: it leaves both histories.
    void removeFromDropDown(const QString &text);

    const QStringList &dropDown() const { return m_dropDown; }

private:
    static void putFirst(QStringList &list, const QString &text);

    QStringList m_executed;
    QStringList m_dropDown;
};
