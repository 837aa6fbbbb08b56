#include "text/numbertext.h"

#include "platform/leadingnumber.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace NumberText {

QString fromDouble(double value)
{
    if (value == 0)
        return QStringLiteral("0");
    if (std::fabs(value) < 1e15 && value == std::trunc(value))
        return QString::number(qint64(value));
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    return QString::fromLatin1(buffer);
}

namespace {

bool isWholeNumber(QStringView text, QStringView exponentLetters)
{
    const qsizetype length = LeadingNumber::lengthAt(text, exponentLetters);
    return length > 0 && length == text.size();
}

}

bool isNumber(const QString &text)
{
    QStringView view(text);
    while (!view.isEmpty() && view.front() == u' ')
        view = view.mid(1);
    while (!view.isEmpty() && view.back() == u' ')
        view.chop(1);
    return isWholeNumber(view, u"E");
}

double toDouble(const QString &text)
{
    return text.trimmed().toDouble();
}

bool readNumber(const QString &text, double &value)
{
    const QStringView view = QStringView(text).trimmed();
    // Plain digits, by far the most common, need no general conversion:
    // up to 15 of them the whole number is exact as a double.
    if (!view.isEmpty() && view.size() <= 15
        && std::all_of(view.begin(), view.end(), [](QChar c) { return c >= u'0' && c <= u'9'; })) {
        qint64 whole = 0;
        for (const QChar c : view)
            whole = whole * 10 + (c.unicode() - u'0');
        value = double(whole);
        return true;
    }
    if (!isWholeNumber(view, u"eE"))
        return false;
    value = view.toDouble();
    return std::isfinite(value);
}

bool toInteger(double value, qint64 minimum, qint64 maximum, qint64 &result)
{
    if (!std::isfinite(value))
        return false;
    const double rounded = std::nearbyint(value); // the default rounding mode: halves to even
    if (rounded < double(minimum) || rounded > double(maximum))
        return false;
    result = qint64(rounded);
    return true;
}

}
