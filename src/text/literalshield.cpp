#include "text/literalshield.h"

#include <algorithm>

LiteralShield::LiteralShield(const QStringList &texts)
{
    const auto unused = [&texts](char16_t from) {
        char16_t c = from;
        while (std::any_of(texts.cbegin(), texts.cend(), [c](const QString &text) { return text.contains(QChar(c)); }))
            --c;
        return QChar(c);
    };
    m_backslash = unused(0xF8FF);
    m_dollar = unused(char16_t(m_backslash.unicode() - 1));
}

QString LiteralShield::shielded(const QString &text) const
{
    return QString(text).replace(u'\\', m_backslash).replace(u'$', m_dollar);
}

QString LiteralShield::restored(const QString &text) const
{
    return QString(text).replace(m_backslash, u'\\').replace(m_dollar, u'$');
}
