#include "platform/leadingnumber.h"

#include <QList>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace LeadingNumber {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// A text without its blanks, and where each kept character stood.
struct Compact
{
    QString text;
    QList<qsizetype> origin;

    explicit Compact(const QString &from)
    {
        for (qsizetype i = 0; i < from.size(); ++i) {
            if (!isBlank(from.at(i))) {
                text += from.at(i);
                origin << i;
            }
        }
    }
};

// Sign, then digits with at most one point; 0 when there is no digit.
qsizetype mantissaLength(QStringView text)
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
    return digits == 0 ? 0 : i;
}

// One of the letters, an optional sign and at least one digit; 0 otherwise.
qsizetype exponentLength(QStringView text, QStringView letters)
{
    if (text.isEmpty() || !letters.contains(text.front()))
        return 0;
    qsizetype i = 1;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    const qsizetype digits = i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    return i > digits ? i : 0;
}

// The number at the start of text in C form ("-1.5e3"), empty without one.
QString numberAt(const QString &text, QStringView exponentLetters, bool blanksInExponent)
{
    const Compact compact(text);
    const qsizetype length = mantissaLength(compact.text);
    if (length == 0)
        return {};
    QString number = compact.text.left(length);
    if (length == compact.text.size())
        return number;
    const QStringView rest = blanksInExponent ? QStringView(compact.text).mid(length)
                                              : QStringView(text).mid(compact.origin.at(length));
    if (const qsizetype exponent = exponentLength(rest, exponentLetters))
        number += u'e' + rest.mid(1, exponent - 1).toString();
    return number;
}

// "&H" and up to eight hexadecimal digits, as a 32-bit two's complement number.
double hexadecimal(const QString &compact)
{
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

} // namespace

qsizetype lengthAt(QStringView text, QStringView exponentLetters)
{
    const qsizetype length = mantissaLength(text);
    return length == 0 ? 0 : length + exponentLength(text.mid(length), exponentLetters);
}

double ofInput(const QString &text)
{
    const double value = numberAt(text, u"eE", true).toDouble();
    return std::isfinite(value) ? value : 0;
}

qint64 wholeOfInput(const QString &text)
{
    constexpr double limit = 9.2e18;
    return static_cast<qint64>(std::clamp(std::nearbyint(ofInput(text)), -limit, limit));
}

double ofExpression(const QString &text)
{
    const Compact compact(text);
    if (compact.text.startsWith(QStringLiteral("&H"), Qt::CaseInsensitive))
        return hexadecimal(compact.text);
    return numberAt(text, u"eEdD", true).toDouble();
}

double ofStoredValue(const QString &text)
{
    const QString number = numberAt(text, u"eEdD", false);
    if (number.isEmpty())
        return 0;
    bool ok = false;
    const double value = QLocale::c().toDouble(number, &ok);
    if (!ok)
        return number.startsWith(u'-') ? -HUGE_VAL : HUGE_VAL;
    return value;
}

} // namespace LeadingNumber
