#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// Keeps text that must reach a result as it stands (a file name, a captured
// group) away from the replace's own syntax: while the replace string is
// built and applied, its backslashes and dollar signs are swapped for two
// private-use characters that none of the given texts holds, and swapped
// back afterwards.
class LiteralShield
{
public:
    explicit LiteralShield(const QStringList &texts);

    QString shielded(const QString &text) const;
    QString restored(const QString &text) const;

private:
    QChar m_backslash;
    QChar m_dollar;
};
