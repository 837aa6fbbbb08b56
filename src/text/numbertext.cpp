#include "text/numbertext.h"


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

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The length of a number at the start of text (sign, digits with at most one
// point, exponent with one of the given letters); 0 when there is none.
qsizetype numberLength(QStringView text, QStringView exponentLetters)
{
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    while (i < text.size() && isDigit(text[i]))
        ++i, ++digits;
    if (i < text.size() && text[i] == u'.') {
        ++i;
        while (i < text.size() && isDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return 0;
    if (i < text.size() && exponentLetters.contains(text[i])) {
        qsizetype j = i + 1;
        if (j < text.size() && (text[j] == u'+' || text[j] == u'-'))
            ++j;
        const qsizetype start = j;
        while (j < text.size() && isDigit(text[j]))
            ++j;
        if (j > start)
            i = j;
    }
    return i;
}

bool isWholeNumber(QStringView text, QStringView exponentLetters)
{
    const qsizetype length = numberLength(text, exponentLetters);
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

double leadingValue(const QString &text)
{
    QString compact;
    for (const QChar c : text) {
        if (c != u' ' && c != u'\t' && c != u'\n' && c != u'\r')
            compact += c;
    }
    if (compact.startsWith(QStringLiteral("&H"), Qt::CaseInsensitive)) {
        qint64 value = 0;
        int digits = 0;
        for (qsizetype i = 2; i < compact.size() && digits < 8; ++i, ++digits) {
            const int digit = QStringView(compact).mid(i, 1).toInt(nullptr, 16);
            if (!compact[i].isLetterOrNumber() || (digit == 0 && compact[i] != u'0'))
                break;
            value = value * 16 + digit;
        }
        return double(qint32(quint32(value)));
    }
    const qsizetype length = numberLength(compact, u"eEdD");
    if (length == 0)
        return 0;
    QString number = compact.left(length);
    number.replace(u'd', u'e').replace(u'D', u'e');
    // A number beyond the range stays infinite, so that the function using it fails visibly.
    return number.toDouble();
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
