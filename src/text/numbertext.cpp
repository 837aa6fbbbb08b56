#include "text/numbertext.h"

#include <QRegularExpression>

#include <cmath>

namespace NumberText {

QString fromDouble(double value)
{
    if (value == 0)
        return QStringLiteral("0");
    return QString::asprintf("%.15G", value);
}

bool isNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^ *[+-]?(\\d+\\.?\\d*|\\.\\d+)(E[+-]?\\d+)? *$"));
    return number.match(text).hasMatch();
}

double toDouble(const QString &text)
{
    return text.trimmed().toDouble();
}

bool readNumber(const QString &text, double &value)
{
    static const QRegularExpression number(
        QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?\\s*$"));
    if (!number.match(text).hasMatch())
        return false;
    value = text.trimmed().toDouble();
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
    static const QRegularExpression leading(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eEdD][+-]?\\d+)?"));
    const QRegularExpressionMatch match = leading.match(compact);
    if (!match.hasMatch())
        return 0;
    QString number = match.captured(0);
    number.replace(u'd', u'e').replace(u'D', u'e');
    const double value = number.toDouble();
    return std::isfinite(value) ? value : 0;
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
