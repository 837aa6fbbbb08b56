#include "platform/displaytext.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace {

const QString dateFormat = QStringLiteral("yyyy/MM/dd HH:mm:ss");

void put(char16_t *at, int value, int digits)
{
    for (int i = digits - 1; i >= 0; --i, value /= 10)
        at[i] = char16_t(u'0' + value % 10);
}

} // namespace

QString DateText(const QDateTime &time)
{
    if (!time.isValid())
        return {};
    return time.toLocalTime().toString(dateFormat);
}

QString DateText(qint64 secondsSinceEpoch)
{
    static const bool zoneRead = (::tzset(), true);
    Q_UNUSED(zoneRead);
    const auto seconds = static_cast<time_t>(secondsSinceEpoch);
    struct tm local;
    if (!::localtime_r(&seconds, &local) || local.tm_year + 1900 < 1 || local.tm_year + 1900 > 9999)
        return DateText(QDateTime::fromSecsSinceEpoch(secondsSinceEpoch));
    char16_t text[19];
    put(text, local.tm_year + 1900, 4);
    put(text + 5, local.tm_mon + 1, 2);
    put(text + 8, local.tm_mday, 2);
    put(text + 11, local.tm_hour, 2);
    put(text + 14, local.tm_min, 2);
    put(text + 17, local.tm_sec, 2);
    text[4] = text[7] = u'/';
    text[10] = u' ';
    text[13] = text[16] = u':';
    return QString(reinterpret_cast<const QChar *>(text), 19);
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
