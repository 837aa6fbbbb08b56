#include "engine/control/inputhistory.h"

#include <algorithm>

void InputHistory::putFirst(QStringList &list, const QString &text)
{
    list.removeAll(text);
    list.removeAll(QString());
    if (!text.isEmpty())
        list.prepend(text);
}

void InputHistory::recordExecute(const QString &text)
{
    putFirst(m_executed, text);
}

void InputHistory::setExecuteHistoryText(const QString &text)
{
    m_executed = text.split(u'\t', Qt::SkipEmptyParts);
}

const QStringList &InputHistory::rebuildDropDown(bool regOrder)
{
    m_dropDown = m_executed;
    if (regOrder) {
        std::stable_sort(m_dropDown.begin(), m_dropDown.end(), [](const QString &a, const QString &b) {
            return a.compare(b, Qt::CaseInsensitive) < 0;
        });
    }
    return m_dropDown;
}

void InputHistory::promote(const QString &text)
{
    putFirst(m_dropDown, text);
}

void InputHistory::removeFromDropDown(const QString &text)
{
    m_dropDown.removeAll(text);
    m_executed.removeAll(text);
}
