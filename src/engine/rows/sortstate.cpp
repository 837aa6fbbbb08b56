#include "engine/rows/sortstate.h"

#include "text/textengine.h"

bool SortState::click(int column)
{
    m_descending = column == m_column ? !m_descending : false;
    m_column = column;
    return m_descending;
}

QString SortState::sortKey(TextEngine &text, const QString &cell, bool firstColumn)
{
    static const QString digits = QStringLiteral("(\\d+)");
    static const QString padded = QStringLiteral("<format($1,\"00000000000\")>");
    QString key = cell;
    if (!firstColumn)
        key = text.RegReplace(key, QStringLiteral("(,)(\\d{3})"), QStringLiteral("$2"), false);
    return text.RegReplace(key, digits, padded, false);
}
