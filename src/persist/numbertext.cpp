#include "persist/numbertext.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace NumberText {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

double leading(const QString &text)
{
    // Blanks inside the number are skipped too, as older files may hold "1 000".
    QString number;
    bool digitsSeen = false;
    bool pointSeen = false;
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && isBlank(text.at(i)))
            ++i;
    };
    skipBlanks();
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+'))
        number += text.at(i++);
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (isBlank(c))
            continue;
        if (isDigit(c)) {
            number += c;
            digitsSeen = true;
        } else if (c == u'.' && !pointSeen) {
            number += c;
            pointSeen = true;
        } else {
            break;
        }
    }
    if (!digitsSeen)
        return 0;
    if (i < text.size() && QStringLiteral("eEdD").contains(text.at(i))) {
        QString exponent = QStringLiteral("e");
        qsizetype j = i + 1;
        if (j < text.size() && (text.at(j) == u'-' || text.at(j) == u'+'))
            exponent += text.at(j++);
        const qsizetype firstDigit = j;
        while (j < text.size() && isDigit(text.at(j)))
            exponent += text.at(j++);
        if (j > firstDigit)
            number += exponent;
    }
    bool ok = false;
    const double value = QLocale::c().toDouble(number, &ok);
    // Digits that do not convert are out of the range of a double.
    if (!ok)
        return number.startsWith(u'-') ? -HUGE_VAL : HUGE_VAL;
    return value;
}

int roundToInt32(double value, bool *fits)
{
    const double rounded = std::nearbyint(value);
    *fits = std::isfinite(rounded) && rounded >= std::numeric_limits<int>::min()
            && rounded <= std::numeric_limits<int>::max();
    return *fits ? static_cast<int>(rounded) : 0;
}

bool isNumeric(const QString &text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok && std::isfinite(value);
}

QString format(double value)
{
    return QString::number(value, 'g', 15);
}

} // namespace NumberText
