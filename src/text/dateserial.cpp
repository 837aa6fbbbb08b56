#include "text/dateserial.h"

#include "text/numbertext.h"

#include <QRegularExpression>

#include <cmath>

namespace DateSerial {

namespace {

const QDate &epoch()
{
    static const QDate day0(1899, 12, 30);
    return day0;
}

bool parseTime(const QString &text, QTime &time)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*([AaPp][Mm]?)?$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    int hour = match.captured(1).toInt();
    const QString half = match.captured(4).toUpper();
    if (!half.isEmpty()) {
        if (hour < 1 || hour > 12)
            return false;
        hour = hour % 12 + (half.startsWith(u'P') ? 12 : 0);
    }
    time = QTime(hour, match.captured(2).toInt(), match.captured(3).toInt());
    return time.isValid();
}

bool parseDate(const QString &text, QDate &date)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^(\\d{1,4})(?:/(\\d{1,2})/|-(\\d{1,2})-|年(\\d{1,2})月)(\\d{1,2})日?$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    const QString month = match.captured(2) + match.captured(3) + match.captured(4);
    int year = match.captured(1).toInt();
    if (match.capturedLength(1) <= 2)
        year = windowedYear(year);
    date = QDate(year, month.toInt(), match.captured(5).toInt());
    return date.isValid() && year >= 100;
}

}

int windowedYear(int year)
{
    if (year >= 0 && year < 30)
        return year + 2000;
    if (year >= 30 && year < 100)
        return year + 1900;
    return year;
}

double fromDateTime(const QDateTime &time)
{
    const qint64 days = epoch().daysTo(time.date());
    const double fraction = time.time().msecsSinceStartOfDay() / 86400000.0;
    return days >= 0 ? days + fraction : days - fraction;
}

QDateTime toDateTime(double serial)
{
    const double days = std::trunc(serial);
    const double fraction = std::fabs(serial - days);
    qint64 msecs = std::llround(fraction * 86400000.0);
    qint64 whole = qint64(days);
    if (msecs >= 86400000) {
        msecs -= 86400000;
        whole += serial >= 0 ? 1 : -1;
    }
    return QDateTime(epoch().addDays(whole), QTime::fromMSecsSinceStartOfDay(int(msecs)), Qt::UTC);
}

bool parse(const QString &text, QDateTime &result)
{
    const QString trimmed = text.trimmed();
    QTime time(0, 0);
    if (parseTime(trimmed, time)) {
        result = QDateTime(epoch(), time, Qt::UTC);
        return true;
    }
    const qsizetype blank = trimmed.indexOf(u' ');
    QDate date;
    if (!parseDate(blank < 0 ? trimmed : trimmed.left(blank), date))
        return false;
    if (blank >= 0 && !parseTime(trimmed.mid(blank + 1).trimmed(), time))
        return false;
    result = QDateTime(date, time, Qt::UTC);
    return true;
}

bool toDateTime(const QString &text, QDateTime &result)
{
    double serial = 0;
    if (NumberText::readNumber(text, serial)) {
        if (serial < -657434 || serial > 2958465) // 100-01-01 to 9999-12-31
            return false;
        result = toDateTime(serial);
        return true;
    }
    return parse(text, result);
}

}
