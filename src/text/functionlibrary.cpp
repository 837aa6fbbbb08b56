#include "text/functionlibrary.h"

#include "platform/codepage.h"
#include "platform/leadingnumber.h"
#include "platform/pathtext.h"
#include "platform/messagerequest.h"
#include "platform/showmessage.h"
#include "text/asciitext.h"
#include "text/cp932bytes.h"
#include "text/dateserial.h"
#include "text/formulaevaluator.h"
#include "text/kanaconverter.h"
#include "text/numbertext.h"
#include "text/regexmatcher.h"
#include "text/scriptchars.h"
#include "text/textengine.h"
#include "text/valueformatter.h"

#include <QHash>

#include <bitset>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

const QString FunctionLibrary::EscapeMarker = QStringLiteral("27ZZ");

namespace {

// Expansions allowed for one text, so that values which spell new calls cannot loop forever.
constexpr int expansionBudget = 10000;

// Stands for the backslash of an escaped call while calls are expanded: a
// noncharacter, so that no text of the user's can pass for one.
constexpr char16_t escapeSign = 0xFDEF;

// True when the call at text[at] is escaped; a backslash in front of it
// becomes the escape sign.
bool escapedCall(QString &text, qsizetype at)
{
    if (at > 0 && text[at - 1] == u'\\') {
        text[at - 1] = QChar(escapeSign);
        return true;
    }
    return at > 0 && text[at - 1] == QChar(escapeSign);
}

// "format(" after "<" and blanks is a format token, not a call.
bool opensFormatToken(const QString &text, qsizetype at, const QString &name)
{
    if (name != u"format")
        return false;
    qsizetype before = at - 1;
    while (before >= 0 && ScriptChars::isBlank(text[before]))
        --before;
    return before >= 0 && text[before] == u'<';
}

// Every occurrence of the call text becomes the value, except where the
// same text stands escaped or as a format token: those stay literal.
void replaceCalls(QString &text, const QString &call, const QString &value, const QString &name)
{
    for (qsizetype at = text.indexOf(call); at >= 0; at = text.indexOf(call, at)) {
        if (escapedCall(text, at) || opensFormatToken(text, at, name)) {
            at += call.size();
            continue;
        }
        text.replace(at, call.size(), value);
        at += value.size();
    }
}

QStringList parseNameList()
{
    const QString list = QStringLiteral(
        "GetErr,IsTextInPoint,IsTextInWindow,IsTextInDesktop,abs,asc,bitand,cal,checkdata,chr,cos,dateserial,dec,"
        "exp,format,instrrev,instr,int,isapexist,isdate,ismodefykey,isnumeric,hex,lenmbcs,left,leftb,lenmbcs,len,"
        "lenb,log,max,mid,midb,minute,min,mod,now,replace,right,rightb,rnd,sgn,sin,sqr,strcnt,strcomp,strconv,tan,"
        "timeserial,time,today,trim,val,weekday,year,month,day,hour,second,,GetPixelPoint,GetPixel,GetRValue,"
        "GetGValue,GetBValue,RGB,GetImgWidth,GetImgHeight,GetOsPlatForm,GetOsVersion,GetOsName,GetPcName,GetScreenX,"
        "GetScreenY,GetCursorPosX,GetCursorPosY,GetTaskBarHeight,GetMacAddress,GetIpAddress,GetUserName,GetUserName,"
        "GetThemeActive,GetDefaultPrinter,GetXLA1,,#SetVariable,#GetOption,#GetWindowHandle,#GetWindowHandlePoint,"
        "#GetWindowHandleActive,#GetWindowHandleParent,#GetWindowHandleTop,#GetWindowHandleDesktop,"
        "#GetWindowHandleFocus,#GetWindowRect,#GetCaretPos,#GetClassName,#GetWindowText,#SetWindowPosZ,"
        "#SetWindowTrans,#SetWindowTransColor,#GetAccName,#GetAccValue,#GetAccDescription,#GetAccRole,#GetAccState,"
        "#GetAccFocus,#GetAccParentName,#GetAccChildCount,#GetAccParentRole,#GetAccLocation,#GetAccDefaultAction,"
        "#GetSoundLength,#GetSoundPosition,#GetSoundStatus,#GetSoundVolume,#GetUserFormValue,#GetUserFormCaption,"
        "#GetUserFormProperty,#GetUserFormPropertyByName,#GetEncodeText,#GetDecodeText,");
    QStringList names;
    for (QString name : list.split(u',')) {
        if (name.startsWith(u'#'))
            name.remove(0, 1);
        if (!name.isEmpty())
            names.append(name);
    }
    return names;
}

// The closing parenthesis of a call whose "(" is at open; -1 when none closes it.
qsizetype closingParenthesis(const QString &text, qsizetype open)
{
    int depth = 0;
    for (qsizetype i = open + 1; i < text.size(); ++i) {
        if (text[i] == u'(') {
            ++depth;
        } else if (text[i] == u')') {
            if (--depth < 0)
                return i;
        }
    }
    return -1;
}

std::optional<qint64> integerOf(const QString &text, qint64 minimum = std::numeric_limits<qint32>::min(),
                                qint64 maximum = std::numeric_limits<qint32>::max())
{
    qint64 value = 0;
    if (!NumberText::toInteger(LeadingNumber::ofExpression(text), minimum, maximum, value))
        return std::nullopt;
    return value;
}

std::optional<qint64> shortOf(const QString &text)
{
    return integerOf(text, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max());
}

bool isNonEmptyNumber(const QString &text)
{
    double value = 0;
    return !text.trimmed().isEmpty() && NumberText::readNumber(text, value);
}

std::optional<QString> numberResult(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    return NumberText::fromDouble(value);
}

QString hexText(qint64 value)
{
    return QString::number(quint32(qint32(value)), 16).toUpper();
}

QString properCase(const QString &text)
{
    QString result = text.toLower();
    bool wordStart = true;
    for (QChar &c : result) {
        if (wordStart && c.isLetter())
            c = c.toUpper();
        wordStart = c.isSpace();
    }
    return result;
}

std::optional<QString> convertString(const QString &text, qint64 code)
{
    if (code < 0 || (code & ~qint64(63)) != 0 || (code & 12) == 12 || (code & 48) == 48)
        return std::nullopt;
    QString result = text;
    if ((code & 3) == 3)
        result = properCase(result);
    else if (code & 1)
        result = result.toUpper();
    else if (code & 2)
        result = result.toLower();
    if (code & 4)
        result = KanaConverter::toWide(result);
    if (code & 16)
        result = KanaConverter::toKatakana(result);
    if (code & 32)
        result = KanaConverter::toHiragana(result);
    if (code & 8)
        result = KanaConverter::toNarrow(result);
    return result;
}

Qt::CaseSensitivity sensitivity(qint64 mode)
{
    return mode == 0 ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

std::optional<QString> integerText(qint64 value)
{
    return QString::number(value);
}

double numberAt(const QStringList &a, int i)
{
    return LeadingNumber::ofExpression(a[i]);
}

std::optional<QString> datePart(const QString &text, int (*part)(const QDateTime &))
{
    QDateTime time;
    if (!DateSerial::toDateTime(text, time))
        return std::nullopt;
    return integerText(part(time));
}

// The value of a mathematical function as the functions show decimals.
std::optional<QString> functionValue(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    return ValueFormatter::formatNumber(value, QStringLiteral("0.##########"));
}

std::optional<QString> dateSerial(const QStringList &a)
{
    std::optional<qint64> part[6];
    for (int i = 0; i < 6; ++i) {
        part[i] = shortOf(a[i]);
        if (!part[i])
            return std::nullopt;
    }
    const int year = DateSerial::windowedYear(int(*part[0]));
    const QDate day = QDate(year, 1, 1).addMonths(int(*part[1]) - 1).addDays(*part[2] - 1);
    if (!day.isValid() || year < 100 || day.year() > 9999 || day.year() < 100)
        return std::nullopt;
    const double serial = DateSerial::fromDateTime(QDateTime(day, QTime(0, 0), Qt::UTC));
    const double time = (*part[3] * 3600.0 + *part[4] * 60.0 + double(*part[5])) / 86400.0;
    return NumberText::fromDouble(serial + time);
}

std::optional<QString> timeSerial(const QStringList &a)
{
    const auto h = shortOf(a[0]), m = shortOf(a[1]), s = shortOf(a[2]);
    if (!h || !m || !s)
        return std::nullopt;
    return NumberText::fromDouble((*h * 3600.0 + *m * 60.0 + double(*s)) / 86400.0);
}

std::optional<QString> valueOf(const QString &text)
{
    QDateTime time;
    if (FormulaEvaluator::IsDateText(text) && DateSerial::parse(Unquote(text), time))
        return NumberText::fromDouble(DateSerial::fromDateTime(time));
    return numberResult(LeadingNumber::ofExpression(text));
}

std::optional<QString> edge(const QStringList &a, bool left)
{
    const auto n = integerOf(a[1]);
    if (!n || *n < 0)
        return std::nullopt;
    return left ? a[0].left(*n) : a[0].right(*n);
}

std::optional<QString> byteEdge(const QStringList &a, bool left)
{
    const auto n = integerOf(a[1]);
    if (!n || *n < 0)
        return std::nullopt;
    return left ? Cp932Bytes::slice(a[0], 0, *n) : Cp932Bytes::slice(a[0], std::max<qint64>(0, Cp932Bytes::length(a[0]) - *n), *n);
}

std::optional<QString> middle(const QStringList &a)
{
    const auto start = integerOf(a[1]);
    if (!start || *start < 1)
        return std::nullopt;
    if (a[2].trimmed().isEmpty())
        return QString();
    const auto count = integerOf(a[2]);
    if (!count || *count < 0)
        return std::nullopt;
    return a[0].mid(*start - 1, *count);
}

std::optional<QString> byteMiddle(const QStringList &a)
{
    const auto start = integerOf(a[1]), count = integerOf(a[2]);
    if (!start || !count || *start < 1 || *count < 0)
        return std::nullopt;
    return Cp932Bytes::slice(a[0], *start - 1, *count);
}

std::optional<QString> codeOf(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    bool lossless = false;
    const QByteArray bytes = CodePage::toCp932(text.left(text.front().isHighSurrogate() ? 2 : 1), &lossless);
    if (!lossless)
        return std::nullopt; // the code page has no code for it
    if (bytes.size() >= 2)
        return integerText(qint16(quint16((quint8(bytes[0]) << 8) | quint8(bytes[1]))));
    return integerText(quint8(bytes[0]));
}

std::optional<QString> characterOf(const QString &text)
{
    const auto code = integerOf(text);
    if (!code || *code < -32768 || *code > 65535)
        return std::nullopt;
    return Cp932Bytes::characterOf(*code);
}

std::optional<QString> position(const QStringList &a)
{
    const auto mode = integerOf(a[2]);
    std::optional<qint64> start = qint64(1);
    if (isNonEmptyNumber(a[3]))
        start = integerOf(a[3]);
    if (!mode || !start || *start < 1)
        return std::nullopt;
    if (*start > a[0].size() + 1)
        return integerText(0);
    return integerText(a[0].indexOf(a[1], *start - 1, sensitivity(*mode)) + 1);
}

std::optional<QString> lastPosition(const QStringList &a)
{
    std::optional<qint64> start = qint64(-1);
    if (!a[2].trimmed().isEmpty())
        start = integerOf(a[2]);
    std::optional<qint64> mode = qint64(0);
    if (isNonEmptyNumber(a[3]))
        mode = integerOf(a[3]);
    if (!start || !mode || *start == 0 || *start < -1)
        return std::nullopt;
    if (*start > a[0].size())
        return integerText(0);
    const qint64 from = *start == -1 ? a[0].size() : *start;
    if (a[1].isEmpty())
        return integerText(from);
    if (a[1].size() > from)
        return integerText(0);
    return integerText(a[0].left(from).lastIndexOf(a[1], -1, sensitivity(*mode)) + 1);
}

std::optional<QString> comparison(const QStringList &a)
{
    const auto mode = integerOf(a[2]);
    if (!mode)
        return std::nullopt;
    const int order = QString::compare(a[0], a[1], sensitivity(*mode));
    return integerText(order < 0 ? -1 : order > 0 ? 1 : 0);
}

// Only blanks go; tabs and full-width spaces stay.
QString trimmedBlanks(const QString &text)
{
    qsizetype first = 0, last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return text.mid(first, last - first);
}

}

FunctionLibrary::FunctionLibrary(UserChannel &user, FormulaEvaluator &evaluator, RegexMatcher &matcher)
    : m_user(user), m_evaluator(evaluator), m_matcher(matcher)
{
}

const QStringList &FunctionLibrary::FunctionNameList()
{
    static const QStringList names = parseNameList();
    return names;
}

QString FunctionLibrary::ExpandFunctions(const QString &text)
{
    m_failed = false;
    QString result = text;
    ExpandCalls(result);
    if (m_failed)
        return ErrorMarker;
    return result.remove(QChar(escapeSign)).remove(EscapeMarker);
}

void FunctionLibrary::failExpansion(const QString &message)
{
    if (!m_failed)
        ShowMessage(m_user, message, MessageStyle::OkOnly, QStringLiteral("関数エラー"));
    m_failed = true;
}

void FunctionLibrary::ExpandCalls(QString &text)
{
    int budget = expansionBudget;
    ExpandCalls(text, budget);
}

namespace {

// "LEFT(", "MID(", …: each name as its calls begin, in list order.
const QStringList &callOpenings()
{
    static const QStringList openings = [] {
        QStringList all;
        for (const QString &name : FunctionLibrary::FunctionNameList())
            all << name + u'(';
        return all;
    }();
    return openings;
}

// The characters in front of each "(", ASCII letters lowered: a name whose
// last character is not among them is not called in the text.
std::bitset<128> charactersBeforeParentheses(const QString &text)
{
    std::bitset<128> seen;
    for (qsizetype at = text.indexOf(u'(', 1); at > 0; at = text.indexOf(u'(', at + 1)) {
        const char16_t c = text[at - 1].unicode();
        if (c < 128)
            seen.set(c >= u'A' && c <= u'Z' ? c + 32 : c);
    }
    return seen;
}

bool mayBeCalled(const std::bitset<128> &seen, const QString &name)
{
    const char16_t last = name.back().unicode();
    if (last >= 128)
        return true;
    return seen.test(last >= u'A' && last <= u'Z' ? last + 32 : last);
}

} // namespace

void FunctionLibrary::ExpandCalls(QString &text, int &budget)
{
    bool changed = text.contains(u'('); // every call has one
    while (changed && budget > 0) {
        changed = false;
        const QStringList &names = FunctionNameList();
        std::bitset<128> seen = charactersBeforeParentheses(text);
        for (qsizetype index = 0; index < names.size(); ++index) {
            const QString &name = names.at(index);
            if (!mayBeCalled(seen, name))
                continue;
            const QString &opening = callOpenings().at(index);
            qsizetype at = AsciiText::indexOfCall(text, opening, 0);
            // Escaped calls stay literal, and so do format tokens, which the
            // replace expands after it has filled in the groups; the first
            // other call is expanded.
            while (at >= 0 && (escapedCall(text, at) || opensFormatToken(text, at, name)))
                at = AsciiText::indexOfCall(text, opening, at + opening.size());
            if (at < 0)
                continue;
            if (--budget < 0) {
                failExpansion(QStringLiteral("関数の呼び出しが多すぎます（%1 回まで）。\r\n\r\n関数名：")
                                  .arg(expansionBudget) + name);
                return;
            }
            const qsizetype open = at + name.size();
            const qsizetype close = closingParenthesis(text, open);
            const qsizetype end = close < 0 ? text.size() : close + 1;
            const QString call = text.mid(at, end - at);
            QString arguments = text.mid(open + 1, (close < 0 ? text.size() : close) - open - 1);
            ExpandCalls(arguments, budget);
            replaceCalls(text, call, CallFunction(name, arguments), name);
            seen = charactersBeforeParentheses(text);
            changed = true;
        }
    }
}

QStringList FunctionLibrary::SplitArgs(const QString &text, const QString &separator, bool removeQuotes)
{
    const QString sep = separator.isEmpty() ? QStringLiteral(",") : separator;
    // Noncharacters stand in for protected text while the quotes are removed.
    const QChar protectedSeparator(0xFDD0);
    const QChar protectedBreak(0xFDD1);
    const QChar literalQuote(0xFDD2);
    QString marked;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"') {
            if (i > 0 && text[i - 1] == u'"' && !quoted && marked.endsWith(u'"')) {
                marked.chop(1);
                marked += literalQuote;
            } else {
                marked += c;
            }
            quoted = !quoted;
        } else if (quoted && QStringView(text).mid(i).startsWith(sep)) {
            marked += protectedSeparator;
            i += sep.size() - 1;
        } else if (quoted && QStringView(text).mid(i, 2) == u"\r\n") {
            marked += protectedBreak;
            ++i;
        } else {
            marked += c;
        }
    }
    if (removeQuotes)
        marked.remove(u'"');
    QStringList pieces = marked.split(sep);
    for (QString &piece : pieces) {
        piece.replace(protectedSeparator, sep);
        piece.replace(protectedBreak, QStringLiteral("\r\n"));
        piece.replace(literalQuote, QStringLiteral("\""));
    }
    return pieces;
}

std::optional<qint32> FunctionLibrary::HexToLong(const QString &input)
{
    QString text = input.toUpper().trimmed();
    if (text.startsWith(u'X'))
        text = QStringLiteral("&H") + text.mid(1);
    if (text.startsWith(QStringLiteral("&H"))) {
        const QString digits = text.mid(2);
        bool ok = false;
        const quint64 value = digits.toULongLong(&ok, 16);
        if (!ok || digits.isEmpty() || digits.size() > 8)
            return std::nullopt;
        return qint32(quint32(value));
    }
    double value = 0;
    qint64 result = 0;
    if (!NumberText::readNumber(text, value)
        || !NumberText::toInteger(value, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max(), result))
        return std::nullopt;
    return qint32(result);
}

int FunctionLibrary::CountOf(const QString &text, const QString &searched, bool ignoreCase)
{
    const QString haystack = Unquote(text);
    const QString needle = Unquote(searched);
    if (haystack.isEmpty() || needle.isEmpty())
        return 0;
    int count = 0;
    const Qt::CaseSensitivity cs = ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
    for (qsizetype at = 0; at < haystack.size();) {
        if (QStringView(haystack).mid(at).startsWith(needle, cs)) {
            ++count;
            at += needle.size();
        } else {
            ++at;
        }
    }
    return count;
}

double FunctionLibrary::nextRandom()
{
    m_random = (m_random * 1140671485u + 12820163u) & 0xFFFFFFu;
    return m_random / 16777216.0;
}

QString FunctionLibrary::CallFunction(const QString &name, const QString &argumentText)
{
    const Computation compute = computations().value(name.toUpper());
    if (!compute)
        return argumentText;
    QStringList arguments = SplitArgs(argumentText, QStringLiteral(","), true).mid(0, 10);
    while (arguments.size() < 10)
        arguments.append(QString());
    for (QString &argument : arguments) {
        argument = m_evaluator.EvalFormula(argument);
        if (argument == ErrorMarker) {
            m_failed = true; // the evaluator has said why
            return {};
        }
    }
    if (const std::optional<QString> value = compute(*this, arguments)) {
        if (*value != ErrorMarker)
            return *value;
        m_failed = true;
        return {};
    }
    failExpansion(QStringLiteral("関数の呼び出し形式に不備があります！\r\n\r\n関数名：") + name
                  + QStringLiteral("\r\nパラメータ：") + argumentText);
    return {};
}

// Every computed function: its upper-case name and its computation from the
// ten evaluated arguments (missing ones empty); none is a call error.
const QHash<QString, FunctionLibrary::Computation> &FunctionLibrary::computations()
{
    using A = const QStringList &;
    using L = FunctionLibrary &;
    static const QHash<QString, Computation> table{
        {u"YEAR"_s, [](L, A a) { return datePart(a[0], [](const QDateTime &t) { return t.date().year(); }); }},
        {u"MONTH"_s, [](L, A a) { return datePart(a[0], [](const QDateTime &t) { return t.date().month(); }); }},
        {u"DAY"_s, [](L, A a) { return datePart(a[0], [](const QDateTime &t) { return t.date().day(); }); }},
        {u"HOUR"_s, [](L, A a) { return datePart(a[0], [](const QDateTime &t) { return t.time().hour(); }); }},
        {u"MINUTE"_s, [](L, A a) { return datePart(a[0], [](const QDateTime &t) { return t.time().minute(); }); }},
        {u"SECOND"_s, [](L, A a) { return datePart(a[0], [](const QDateTime &t) { return t.time().second(); }); }},
        {u"WEEKDAY"_s,
         [](L, A a) { return datePart(a[0], [](const QDateTime &t) { return t.date().dayOfWeek() % 7 + 1; }); }},
        {u"NOW"_s,
         [](L, A) -> std::optional<QString> {
             const QDateTime now = QDateTime::currentDateTime();
             const QTime seconds(now.time().hour(), now.time().minute(), now.time().second());
             return NumberText::fromDouble(DateSerial::fromDateTime(QDateTime(now.date(), seconds, Qt::UTC)));
         }},
        {u"TODAY"_s,
         [](L, A) -> std::optional<QString> { return QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd")); }},
        {u"TIME"_s,
         [](L, A) -> std::optional<QString> { return QTime::currentTime().toString(QStringLiteral("hh:mm:ss")); }},
        {u"DATESERIAL"_s, [](L, A a) { return dateSerial(a); }},
        {u"TIMESERIAL"_s, [](L, A a) { return timeSerial(a); }},
        {u"VAL"_s, [](L, A a) { return valueOf(a[0]); }},
        {u"INT"_s, [](L, A a) { return numberResult(std::floor(numberAt(a, 0))); }},
        {u"ABS"_s, [](L, A a) { return numberResult(std::fabs(numberAt(a, 0))); }},
        {u"SGN"_s, [](L, A a) { return integerText(numberAt(a, 0) > 0 ? 1 : numberAt(a, 0) < 0 ? -1 : 0); }},
        {u"SQR"_s,
         [](L, A a) { return numberAt(a, 0) < 0 ? std::nullopt : numberResult(std::sqrt(numberAt(a, 0))); }},
        {u"COS"_s, [](L, A a) { return functionValue(std::cos(numberAt(a, 0))); }},
        {u"SIN"_s, [](L, A a) { return functionValue(std::sin(numberAt(a, 0))); }},
        {u"TAN"_s, [](L, A a) { return functionValue(std::tan(numberAt(a, 0))); }},
        {u"EXP"_s, [](L, A a) { return functionValue(std::exp(numberAt(a, 0))); }},
        {u"LOG"_s, [](L, A a) { return numberAt(a, 0) <= 0 ? std::nullopt : functionValue(std::log(numberAt(a, 0))); }},
        // A single-precision value.
        {u"RND"_s, [](L library, A) -> std::optional<QString> { return QString::asprintf("%.7G", library.nextRandom()); }},
        {u"MAX"_s, [](L, A a) { return numberResult(std::max(numberAt(a, 0), numberAt(a, 1))); }},
        {u"MIN"_s, [](L, A a) { return numberResult(std::min(numberAt(a, 0), numberAt(a, 1))); }},
        {u"MOD"_s,
         [](L, A a) -> std::optional<QString> {
             const auto x = integerOf(a[0]), y = integerOf(a[1]);
             return x && y && *y != 0 ? integerText(*x % *y) : std::nullopt;
         }},
        {u"HEX"_s,
         [](L, A a) -> std::optional<QString> {
             const auto x = integerOf(a[0]);
             return x ? std::optional<QString>(hexText(*x)) : std::nullopt;
         }},
        {u"DEC"_s,
         [](L, A a) {
             const auto x = HexToLong(a[0]);
             return x ? integerText(*x) : std::nullopt;
         }},
        {u"BITAND"_s,
         [](L, A a) {
             const auto x = HexToLong(a[0]), y = HexToLong(a[1]);
             return x && y ? std::optional<QString>(hexText(*x & *y)) : std::nullopt;
         }},
        {u"CAL"_s, [](L library, A a) -> std::optional<QString> { return library.m_evaluator.EvalFormula(a[0]); }},
        {u"LEN"_s, [](L, A a) { return integerText(a[0].size()); }},
        {u"LENMBCS"_s, [](L, A a) { return integerText(Cp932Bytes::length(a[0])); }},
        {u"LENB"_s, [](L, A a) { return integerText(Cp932Bytes::length(a[0])); }},
        {u"LEFT"_s, [](L, A a) { return edge(a, true); }},
        {u"RIGHT"_s, [](L, A a) { return edge(a, false); }},
        {u"MID"_s, [](L, A a) { return middle(a); }},
        {u"LEFTB"_s, [](L, A a) { return byteEdge(a, true); }},
        {u"RIGHTB"_s, [](L, A a) { return byteEdge(a, false); }},
        {u"MIDB"_s, [](L, A a) { return byteMiddle(a); }},
        {u"ASC"_s, [](L, A a) { return codeOf(a[0]); }},
        {u"CHR"_s, [](L, A a) { return characterOf(a[0]); }},
        {u"INSTR"_s, [](L, A a) { return position(a); }},
        {u"INSTRREV"_s, [](L, A a) { return lastPosition(a); }},
        {u"STRCOMP"_s, [](L, A a) { return comparison(a); }},
        {u"STRCONV"_s,
         [](L, A a) {
             const auto code = integerOf(a[1]);
             return code ? convertString(a[0], *code) : std::nullopt;
         }},
        {u"STRCNT"_s, [](L, A a) { return integerText(CountOf(a[0], a[1], numberAt(a, 2) != 0)); }},
        {u"TRIM"_s, [](L, A a) -> std::optional<QString> { return trimmedBlanks(a[0]); }},
        {u"REPLACE"_s,
         [](L, A a) -> std::optional<QString> {
             return a[1].isEmpty() ? a[0] : QString(a[0]).replace(a[1], Unquote(a[2]));
         }},
        {u"CHECKDATA"_s,
         [](L library, A a) -> std::optional<QString> { return library.m_matcher.RegFirstMatch(a[0], a[1], true); }},
        {u"FORMAT"_s, [](L, A a) -> std::optional<QString> { return ValueFormatter::format(a[0], a[1]); }},
    };
    return table;
}
