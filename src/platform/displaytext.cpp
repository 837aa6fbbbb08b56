#include "platform/displaytext.h"

#include <algorithm>
#include <cmath>

namespace {

const QString dateFormat = QStringLiteral("yyyy/MM/dd HH:mm:ss");

} // namespace

QString DateText(const QDateTime &time)
{
    if (!time.isValid())
        return {};
    return time.toLocalTime().toString(dateFormat);
}

QDateTime ParseDateText(const QString &text)
{
    QDateTime time = QDateTime::fromString(text.trimmed(), dateFormat);
    time.setTimeSpec(Qt::LocalTime);
    return time;
}

QString SizeText(qint64 bytes)
{
    QString digits = QString::number(bytes < 0 ? -bytes : bytes);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, u',');
    return bytes < 0 ? u'-' + digits : digits;
}

qint64 ParseSizeText(const QString &text)
{
    QString digits = text.trimmed();
    digits.remove(u',');
    bool ok = false;
    const qint64 value = digits.toLongLong(&ok);
    return ok ? value : 0;
}

int ProgressStep(int rows)
{
    // std::nearbyint rounds halves to even under the default rounding mode.
    const double step = std::nearbyint(rows / 20.0);
    return std::max(1, static_cast<int>(step));
}

bool IsControlCharacter(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7f;
}

QString EscapedText(const QString &text)
{
    if (std::none_of(text.begin(), text.end(), IsControlCharacter))
        return text;
    QString escaped;
    for (const QChar c : text) {
        if (!IsControlCharacter(c))
            escaped += c;
        else if (c == u'\n')
            escaped += QStringLiteral("\\n");
        else if (c == u'\r')
            escaped += QStringLiteral("\\r");
        else if (c == u'\t')
            escaped += QStringLiteral("\\t");
        else if (c.isNull())
            escaped += QStringLiteral("\\0");
        else
            escaped += QStringLiteral("\\x") + QString::number(c.unicode(), 16).rightJustified(2, u'0');
    }
    return escaped;
}
