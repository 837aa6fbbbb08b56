#include "text/valueformatter.h"

#include "text/dateserial.h"
#include "text/numbertext.h"

#include <QHash>
#include <QList>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ValueFormatter {

namespace {

// Splits at ";" outside quotes and escapes.
QStringList sections(const QString &pattern)
{
    QStringList result(QString{});
    bool quoted = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'"')
            quoted = !quoted;
        if (c == u'\\' && !quoted && i + 1 < pattern.size()) {
            result.back() += c;
            result.back() += pattern[++i];
            continue;
        }
        if (c == u';' && !quoted)
            result.append(QString{});
        else
            result.back() += c;
    }
    return result;
}

enum class Kind { Digit, Point, Comma, Percent, Exponent, Literal };

struct Item
{
    Kind kind;
    QString text; // the placeholder character, exponent code, or literal text
};

QList<Item> numberItems(const QString &section)
{
    QList<Item> items;
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section[i];
        if (c == u'0' || c == u'#') {
            items.append({Kind::Digit, QString(c)});
        } else if (c == u'.') {
            items.append({Kind::Point, QString(c)});
        } else if (c == u',') {
            items.append({Kind::Comma, QString(c)});
        } else if (c == u'%') {
            items.append({Kind::Percent, QString(c)});
        } else if ((c == u'E' || c == u'e') && i + 1 < section.size()
                   && (section[i + 1] == u'+' || section[i + 1] == u'-')) {
            items.append({Kind::Exponent, section.mid(i, 2)});
            ++i;
        } else if (c == u'"') {
            const qsizetype end = section.indexOf(u'"', i + 1);
            const qsizetype stop = end < 0 ? section.size() : end;
            items.append({Kind::Literal, section.mid(i + 1, stop - i - 1)});
            i = stop;
        } else if (c == u'\\' && i + 1 < section.size()) {
            items.append({Kind::Literal, QString(section[++i])});
        } else {
            items.append({Kind::Literal, QString(c)});
        }
    }
    return items;
}

// Decimal digits of |value| rounded half away from zero to the given number
// of decimals, as integer and fraction digit texts.
void roundedDigits(double value, int decimals, QString &whole, QString &fraction)
{
    if (std::fabs(value) < 1e15 && value == std::trunc(value)) {
        whole = QString::number(qint64(std::fabs(value)));
        fraction = QString(decimals, u'0');
        if (whole == u"0")
            whole.clear();
        return;
    }
    // 15 significant digits, as the general number form, before rounding.
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
    const QString digits = QString::fromLatin1(buffer);
    const qsizetype e = digits.indexOf(u'e');
    int exponent = QStringView(digits).mid(e + 1).toInt();
    QString mantissa = digits.left(e).remove(u'.');
    // mantissa holds the digits of d.ddd × 10^exponent; place the point.
    qsizetype point = exponent + 1;
    if (point < 0) {
        mantissa.prepend(QString(-point, u'0'));
        point = 0;
    }
    if (mantissa.size() < point + decimals)
        mantissa.append(QString(point + decimals - mantissa.size(), u'0'));
    const qsizetype keep = point + decimals;
    const bool roundUp = keep < mantissa.size() && mantissa[keep] >= u'5';
    mantissa.truncate(keep);
    if (roundUp) {
        qsizetype i = mantissa.size() - 1;
        for (; i >= 0 && mantissa[i] == u'9'; --i)
            mantissa[i] = u'0';
        if (i >= 0) {
            mantissa[i] = QChar(mantissa[i].unicode() + 1);
        } else {
            mantissa.prepend(u'1');
            ++point;
        }
    }
    whole = mantissa.left(point);
    fraction = mantissa.mid(point);
    while (whole.size() > 1 && whole.front() == u'0')
        whole.remove(0, 1);
    if (whole == u"0")
        whole.clear();
}

QString groupThousands(const QString &digits)
{
    QString result;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            result += u',';
        result += digits[i];
    }
    return result;
}

// Where a number section puts the number, read once per pattern.
struct SectionLayout
{
    qsizetype pointAt = -1;    // the decimal point, when it comes before any exponent
    qsizetype exponentAt = -1; // the first exponent code
    QString integerCodes;      // "0" or "#" of each integer placeholder, left to right
    int decimalPlaces = 0;
    int requiredDecimals = 0;  // decimals shown even when they are zero
    int exponentZeros = 0;     // exponent digits shown even when they are zero
    int scaleCommas = 0;       // commas right after the integer placeholders: each divides by 1000
    bool grouping = false;     // a comma between integer placeholders groups by thousands
    bool percent = false;
};

SectionLayout layoutOf(const QList<Item> &items)
{
    SectionLayout layout;
    qsizetype lastIntegerAt = -1;
    bool commaAfterDigit = false;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const Item &item = items[i];
        const bool integerSide = layout.pointAt < 0 && layout.exponentAt < 0;
        if (item.kind == Kind::Percent) {
            layout.percent = true;
        } else if (item.kind == Kind::Exponent && layout.exponentAt < 0) {
            layout.exponentAt = i;
        } else if (item.kind == Kind::Point && integerSide) {
            layout.pointAt = i;
        } else if (item.kind == Kind::Comma && integerSide) {
            commaAfterDigit = commaAfterDigit || lastIntegerAt >= 0;
        } else if (item.kind == Kind::Digit && layout.exponentAt >= 0) {
            layout.exponentZeros += item.text == u"0" ? 1 : 0;
        } else if (item.kind == Kind::Digit && integerSide) {
            layout.integerCodes += item.text;
            layout.grouping = layout.grouping || commaAfterDigit;
            lastIntegerAt = i;
        } else if (item.kind == Kind::Digit) {
            ++layout.decimalPlaces;
            if (item.text == u"0")
                layout.requiredDecimals = layout.decimalPlaces;
        }
    }
    for (qsizetype i = lastIntegerAt + 1; lastIntegerAt >= 0 && i < items.size() && items[i].kind == Kind::Comma; ++i)
        ++layout.scaleCommas;
    return layout;
}

// The number as a section shows it: scaled, rounded, split at the point.
struct ShownNumber
{
    QString whole;     // integer digits, empty for zero
    QString decimals;  // without the optional trailing zeros
    int exponent = 0;
    QString exponentDigits;
};

ShownNumber shownNumber(double value, const SectionLayout &layout)
{
    if (layout.scaleCommas > 0)
        value /= std::pow(1000.0, layout.scaleCommas);
    if (layout.percent)
        value *= 100;
    ShownNumber number;
    const int places = std::max(int(layout.integerCodes.size()), 1);
    QString whole, fraction;
    if (layout.exponentAt >= 0 && value != 0) {
        number.exponent = int(std::floor(std::log10(std::fabs(value)))) - places + 1;
        value /= std::pow(10.0, number.exponent);
        roundedDigits(value, layout.decimalPlaces, whole, fraction);
        if (whole.size() > places) {
            ++number.exponent;
            value /= 10;
        }
    }
    roundedDigits(value, layout.decimalPlaces, whole, fraction);
    qsizetype shown = fraction.size();
    while (shown > layout.requiredDecimals && fraction[shown - 1] == u'0')
        --shown;
    number.whole = whole;
    number.decimals = fraction.left(shown);
    if (layout.exponentAt >= 0)
        number.exponentDigits = QString::number(std::abs(number.exponent)).rightJustified(layout.exponentZeros, u'0');
    return number;
}

// The text of integer placeholder k: digits fill the placeholders from the
// right, and extra ones go with the first.
QStringView placeholderText(const QString &whole, const QString &codes, qsizetype k)
{
    const qsizetype at = whole.size() - codes.size() + k;
    if (k == 0 && at > 0)
        return QStringView(whole).left(at + 1);
    if (at >= 0)
        return QStringView(whole).mid(at, 1);
    return codes[k] == u'0' ? QStringView(u"0") : QStringView();
}

// All integer placeholders' digits, grouped by thousands.
QString groupedInteger(const QString &whole, const QString &codes)
{
    QString digits;
    for (qsizetype k = 0; k < codes.size(); ++k)
        digits += placeholderText(whole, codes, k);
    return groupThousands(digits);
}

QString formatSection(double value, const QList<Item> &items, const SectionLayout &layout)
{
    const ShownNumber number = shownNumber(value, layout);
    // Grouped, the whole number stands at the first integer placeholder.
    const QString grouped = layout.grouping ? groupedInteger(number.whole, layout.integerCodes) : QString();
    qsizetype integerIndex = 0;
    qsizetype decimalIndex = 0;
    QString out;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const Item &item = items[i];
        switch (item.kind) {
        case Kind::Digit:
            if (layout.exponentAt >= 0 && i > layout.exponentAt)
                break; // the exponent's digits stand at its code
            if ((layout.pointAt < 0 || i < layout.pointAt) && layout.grouping)
                out += integerIndex++ == 0 ? grouped : QString();
            else if (layout.pointAt < 0 || i < layout.pointAt)
                out += placeholderText(number.whole, layout.integerCodes, integerIndex++);
            else
                out += number.decimals.mid(decimalIndex++, 1);
            break;
        case Kind::Point:
            if (i == layout.pointAt && layout.integerCodes.isEmpty())
                out += number.whole; // without integer placeholders the digits still show
            if (i == layout.pointAt && !number.decimals.isEmpty())
                out += u'.';
            break;
        case Kind::Comma:
            break;
        case Kind::Percent:
            out += u'%';
            break;
        case Kind::Exponent:
            out += item.text.front();
            if (number.exponent < 0)
                out += u'-';
            else if (item.text.back() == u'+')
                out += u'+';
            out += number.exponentDigits;
            break;
        case Kind::Literal:
            out += item.text;
            break;
        }
    }
    return out;
}

bool hasDateCodes(const QString &pattern)
{
    bool quoted = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted && c == u'\\') {
            ++i;
        } else if (!quoted) {
            const QChar lower = c.toLower();
            if (lower == u'e' && i + 1 < pattern.size() && (pattern[i + 1] == u'+' || pattern[i + 1] == u'-'))
                ++i;
            else if (QStringView(u"dmyhns").contains(lower))
                return true;
        }
    }
    return false;
}

bool isZeroWhenShown(double value, const QList<Item> &items)
{
    int decimals = 0;
    bool afterPoint = false;
    for (const Item &item : items) {
        if (item.kind == Kind::Point)
            afterPoint = true;
        else if (item.kind == Kind::Digit && afterPoint)
            ++decimals;
    }
    QString whole, fraction;
    roundedDigits(value, decimals, whole, fraction);
    return whole.isEmpty() && fraction.count(u'0') == fraction.size();
}

QString twoDigits(int value)
{
    return QString::number(value).rightJustified(2, u'0');
}

const QStringList &dayNames()
{
    static const QStringList names{QStringLiteral("Sunday"), QStringLiteral("Monday"), QStringLiteral("Tuesday"),
                                   QStringLiteral("Wednesday"), QStringLiteral("Thursday"), QStringLiteral("Friday"),
                                   QStringLiteral("Saturday")};
    return names;
}

const QStringList &monthNames()
{
    static const QStringList names{QStringLiteral("January"), QStringLiteral("February"), QStringLiteral("March"),
                                   QStringLiteral("April"), QStringLiteral("May"), QStringLiteral("June"),
                                   QStringLiteral("July"), QStringLiteral("August"), QStringLiteral("September"),
                                   QStringLiteral("October"), QStringLiteral("November"), QStringLiteral("December")};
    return names;
}

qsizetype runLength(const QString &pattern, qsizetype at)
{
    const QChar c = pattern[at].toLower();
    qsizetype end = at;
    while (end < pattern.size() && pattern[end].toLower() == c)
        ++end;
    return end - at;
}

// The next date code after position at, skipping literals; lower case.
QChar nextCode(const QString &pattern, qsizetype at)
{
    for (qsizetype i = at; i < pattern.size(); ++i) {
        const QChar c = pattern[i].toLower();
        if (c == u'"' || c == u'\\')
            return {};
        if (QStringView(u"dmyhns").contains(c))
            return c;
    }
    return {};
}

bool startsWithAt(const QString &pattern, qsizetype at, QStringView code)
{
    return QStringView(pattern).mid(at, code.size()).compare(code, Qt::CaseInsensitive) == 0;
}

}

bool isDatePattern(const QString &pattern)
{
    thread_local QHash<QString, bool> cache;
    const auto found = cache.constFind(pattern);
    if (found != cache.cend())
        return *found;
    if (cache.size() > 256)
        cache.clear();
    return *cache.insert(pattern, hasDateCodes(pattern));
}

namespace {

struct NumberSection
{
    QList<Item> items;
    SectionLayout layout;
};

// A number pattern read once: its sections.
struct NumberPattern
{
    QList<NumberSection> sections;
};

const NumberPattern &numberPattern(const QString &pattern)
{
    thread_local QHash<QString, NumberPattern> cache;
    const auto found = cache.constFind(pattern);
    if (found != cache.cend())
        return *found;
    if (cache.size() > 256)
        cache.clear();
    NumberPattern parsed;
    for (const QString &section : sections(pattern)) {
        const QList<Item> items = numberItems(section);
        parsed.sections.append({items, layoutOf(items)});
    }
    return *cache.insert(pattern, parsed);
}

}

QString formatNumber(double value, const QString &pattern)
{
    if (pattern.isEmpty())
        return NumberText::fromDouble(value);
    const QList<NumberSection> &parts = numberPattern(pattern).sections;
    const NumberSection *section = &parts[0];
    bool negativeSection = false;
    if (value < 0 && parts.size() > 1 && !parts[1].items.isEmpty()) {
        section = &parts[1];
        negativeSection = true;
    }
    if (parts.size() > 2 && !parts[2].items.isEmpty() && isZeroWhenShown(value, section->items))
        return formatSection(0, parts[2].items, parts[2].layout);
    const QString text = formatSection(value, section->items, section->layout);
    if (value >= 0 || negativeSection)
        return text;
    const bool shownNonZero = std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'1' && c <= u'9'; });
    return shownNonZero ? u'-' + text : text;
}

QString formatDate(const QDateTime &time, const QString &pattern)
{
    const QDate date = time.date();
    const QTime clock = time.time();
    QString out;
    bool afterHour = false;
    bool twelveHour = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (startsWithAt(pattern, i, u"am/pm") || startsWithAt(pattern, i, u"a/p"))
            twelveHour = true;
    }
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        const QChar lower = c.toLower();
        if (c == u'"') {
            const qsizetype end = pattern.indexOf(u'"', i + 1);
            const qsizetype stop = end < 0 ? pattern.size() : end;
            out += pattern.mid(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        if (c == u'\\' && i + 1 < pattern.size()) {
            out += pattern[i + 1];
            i += 2;
            continue;
        }
        if (startsWithAt(pattern, i, u"am/pm")) {
            const bool upper = pattern[i].isUpper();
            const QString mark = clock.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM");
            out += upper ? mark : mark.toLower();
            i += 5;
            continue;
        }
        if (startsWithAt(pattern, i, u"a/p")) {
            const QString mark = clock.hour() < 12 ? QStringLiteral("A") : QStringLiteral("P");
            out += pattern[i].isUpper() ? mark : mark.toLower();
            i += 3;
            continue;
        }
        if (!QStringView(u"dmyhns").contains(lower)) {
            out += c;
            ++i;
            continue;
        }
        const qsizetype run = runLength(pattern, i);
        if (lower == u'd') {
            if (run == 1)
                out += QString::number(date.day());
            else if (run == 2)
                out += twoDigits(date.day());
            else if (run == 3)
                out += dayNames()[date.dayOfWeek() % 7].left(3);
            else
                out += dayNames()[date.dayOfWeek() % 7];
        } else if (lower == u'y') {
            out += run <= 2 ? twoDigits(date.year() % 100) : QString::number(date.year()).rightJustified(4, u'0');
        } else if (lower == u'h') {
            int hour = clock.hour();
            if (twelveHour)
                hour = hour % 12 == 0 ? 12 : hour % 12;
            out += run == 1 ? QString::number(hour) : twoDigits(hour);
        } else if (lower == u'n' || (lower == u'm' && run <= 2 && (afterHour || nextCode(pattern, i + run) == u's'))) {
            out += run == 1 ? QString::number(clock.minute()) : twoDigits(clock.minute());
        } else if (lower == u'm') {
            if (run == 1)
                out += QString::number(date.month());
            else if (run == 2)
                out += twoDigits(date.month());
            else if (run == 3)
                out += monthNames()[date.month() - 1].left(3);
            else
                out += monthNames()[date.month() - 1];
        } else {
            out += run == 1 ? QString::number(clock.second()) : twoDigits(clock.second());
        }
        afterHour = lower == u'h';
        i += run;
    }
    return out;
}

QString format(const QString &value, const QString &pattern)
{
    double number = 0;
    const bool numeric = NumberText::readNumber(value, number);
    if (isDatePattern(pattern)) {
        QDateTime time;
        if (DateSerial::toDateTime(value, time))
            return formatDate(time, pattern);
        return value;
    }
    return numeric ? formatNumber(number, pattern) : value;
}

}
