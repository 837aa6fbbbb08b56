#include "text/regreplacer.h"

#include "platform/messagerequest.h"
#include "platform/showmessage.h"
#include "text/formattokenexpander.h"
#include "text/scriptchars.h"
#include "text/scripthost.h"
#include "text/textengine.h"

#include <QStringList>

#include <algorithm>

namespace {

const QString crlf = QStringLiteral("\r\n");
constexpr qsizetype cacheLimit = 4096;

// Characters that end a script line (or the source, for NUL): a subject or
// replacement holding one cannot take the short way.
bool breaksLiteral(QChar c)
{
    return ScriptChars::isLineTerminator(c) || c.unicode() == 0;
}

bool hasLiteralBreak(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), breaksLiteral);
}

// True unless every match of the pattern is sure to take at least one
// character: without quantifiers that allow none, alternatives, anchors,
// assertions, back references or empty groups. Such patterns may use the
// engine's own global replace, which is right whenever no match is empty.
bool mayMatchEmpty(const QString &pattern)
{
    static const QStringList signs{QStringLiteral("*"), QStringLiteral("?"), QStringLiteral("{0"),
                                   QStringLiteral("{,"), QStringLiteral("|"), QStringLiteral("^"),
                                   QStringLiteral("$"), QStringLiteral("\\b"), QStringLiteral("\\B"),
                                   QStringLiteral("()"), QStringLiteral("\\k")};
    if (pattern.isEmpty())
        return true;
    for (const QString &sign : signs) {
        if (pattern.contains(sign))
            return true;
    }
    for (qsizetype i = 0; i + 1 < pattern.size(); ++i) {
        if (pattern[i] == u'\\' && pattern[i + 1] >= u'1' && pattern[i + 1] <= u'9')
            return true;
    }
    return false;
}

// A line break in the replacement that is not a line continuation (one
// preceded by an odd number of backslashes; CR LF counts as one break).
bool hasBareLineBreak(const QString &replacement)
{
    for (qsizetype i = 0; i < replacement.size(); ++i) {
        if (!ScriptChars::isLineTerminator(replacement[i]))
            continue;
        if (replacement[i] == u'\n' && i > 0 && replacement[i - 1] == u'\r')
            continue;
        qsizetype backslashes = 0;
        while (backslashes < i && replacement[i - 1 - backslashes] == u'\\')
            ++backslashes;
        if (backslashes % 2 == 0)
            return true;
    }
    return false;
}

QString escapedReplacement(const QString &replacement)
{
    return QString(replacement).replace(u'\'', QStringLiteral("\\x27"));
}

QString functionLines(const QString &wrapped, const QString &replacementArgument,
                      const QString &replace = QStringLiteral("ss.replace("))
{
    return QStringLiteral("function ExpRep(){") + crlf
           + QStringLiteral("     var r, re;") + crlf
           + QStringLiteral("     var ss = arguments[0];") + crlf
           + QStringLiteral("     re = ") + wrapped + crlf
           + QStringLiteral("     ss.IgnoreCase = true ") + crlf
           + QStringLiteral("     r = ") + replace + QStringLiteral("re, ") + replacementArgument + QStringLiteral(");") + crlf
           + QStringLiteral("     return(r);") + crlf
           + QStringLiteral("};");
}

}

RegReplacer::RegReplacer(UserChannel &user, ScriptHost &host, FormatTokenExpander &tokens)
    : m_user(user), m_host(host), m_tokens(tokens)
{
}

QString RegReplacer::wrappedPattern(const QString &pattern, bool ignoreCase)
{
    return u'/' + QString(pattern).replace(u'/', QStringLiteral("\\x2f")) + QStringLiteral("/g")
           + (ignoreCase ? QStringLiteral("i") : QString());
}

QString RegReplacer::escapedSubject(const QString &subject)
{
    return QString(subject).replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\x27"));
}

QString RegReplacer::functionText(const QString &pattern, const QString &replacement, bool ignoreCase)
{
    return functionLines(wrappedPattern(pattern, ignoreCase), u'\'' + escapedReplacement(replacement) + u'\'');
}

QString RegReplacer::callText(const QString &subject)
{
    return QStringLiteral("ExpRep('") + escapedSubject(subject) + QStringLiteral("')");
}

QString RegReplacer::RegReplace(const QString &subject, const QString &pattern, const QString &replacement,
                                bool ignoreCase)
{
    QString result;
    ScriptError error;
    const CompiledPattern &compiled = compiledPattern(pattern, ignoreCase);
    if (!compiled.error.description.isEmpty())
        return fail(compiled.error, subject, pattern, ignoreCase);
    if (std::any_of(subject.cbegin(), subject.cend(), ScriptChars::isLineTerminator)
        || hasBareLineBreak(replacement)) {
        // No script string literal holds a line break, yet the engine's lexer
        // lets one pass after an escaped backslash; report what it says for
        // a plain one.
        m_host.evaluate(callText(QStringLiteral("\n")), error);
        return fail(error, subject, pattern, ignoreCase);
    }
    if (replaceFast(subject, pattern, replacement, ignoreCase, result, error)) {
        if (!error.description.isEmpty())
            return fail(error, subject, pattern, ignoreCase);
    } else {
        result = replaceExactly(subject, pattern, replacement, ignoreCase);
        if (result == ErrorMarker)
            return result;
    }
    if (!m_tokens.expand(result)) {
        ShowMessage(m_user,
                    QStringLiteral("format 関数の記述が違います！\r\n\r\n例：　<format( $1 + 5 , \"000\" )>"),
                    MessageStyle::OkOnly, QStringLiteral("正規表現エラー　－　RegReplace"));
        return ErrorMarker;
    }
    return result;
}

// The generated function with the replacement passed as an argument. It gives
// the generated function's result whenever the pattern's literal is an
// ordinary one: not empty (which would make "//" a comment), not starting
// with "*" (which would open a comment that the replacement could close), and
// on one line; whatever else the pattern holds then stays inside its literal.
//
// The script engine compiles an invalid or unsupported regular-expression
// literal into one that never matches, which would pass a mistyped pattern
// off as "nothing to change"; the RegExp constructor reports it instead, and
// that error is shown.
const RegReplacer::CompiledPattern &RegReplacer::compiledPattern(const QString &pattern, bool ignoreCase)
{
    const QString key = (ignoreCase ? u'i' : u'c') + pattern;
    const auto found = m_patterns.constFind(key);
    if (found != m_patterns.cend())
        return *found;
    CompiledPattern compiled;
    if (!pattern.isEmpty() && !pattern.startsWith(u'*') && !hasLiteralBreak(pattern)) {
        ScriptError error;
        const QString replace = mayMatchEmpty(pattern) ? QStringLiteral("ss.replace(")
                                                       : QStringLiteral("__nativeReplace.call(ss, ");
        const QJSValue function = m_host.evaluate(
            functionLines(wrappedPattern(pattern, ignoreCase), QStringLiteral("arguments[1]"), replace) + crlf
                + QStringLiteral("ExpRep"),
            error);
        if (function.isCallable()) {
            compiled.function = function;
            if (!m_validator.isCallable())
                m_validator = m_host.evaluate(QStringLiteral("(function (p, f) { new RegExp(p, f); })"), error);
            const QString escaped = QString(pattern).replace(u'/', QStringLiteral("\\x2f"));
            m_host.call(m_validator, {QJSValue(escaped), QJSValue(ignoreCase ? QStringLiteral("gi") : QStringLiteral("g"))},
                        compiled.error);
            if (compiled.error.description.isEmpty())
                compiled.native = NativeRegex::compile(pattern, ignoreCase);
        }
    }
    if (m_patterns.size() >= cacheLimit)
        m_patterns.clear();
    return *m_patterns.insert(key, compiled);
}

// The value of the replacement's single-quoted literal; none when it does
// not decode (the generated text itself then reports the script's own error).
const std::optional<QString> &RegReplacer::decodedReplacement(const QString &replacement)
{
    const auto found = m_replacements.constFind(replacement);
    if (found != m_replacements.cend())
        return *found;
    std::optional<QString> decoded;
    if (!replacement.contains(u'\\') && !hasLiteralBreak(replacement)) {
        decoded = replacement;
    } else {
        ScriptError error;
        const QJSValue value = m_host.evaluate(u'\'' + escapedReplacement(replacement) + u'\'', error);
        if (value.isString())
            decoded = value.toString();
    }
    if (m_replacements.size() >= cacheLimit)
        m_replacements.clear();
    return *m_replacements.insert(replacement, decoded);
}

bool RegReplacer::replaceFast(const QString &subject, const QString &pattern, const QString &replacement,
                              bool ignoreCase, QString &result, ScriptError &error)
{
    if (hasLiteralBreak(subject))
        return false;
    const std::optional<QString> &decoded = decodedReplacement(replacement);
    if (!decoded)
        return false;
    const CompiledPattern &compiled = compiledPattern(pattern, ignoreCase);
    if (!compiled.function.isCallable())
        return false;
    if (compiled.native && NativeRegex::canMatch(subject, ignoreCase)) {
        if (std::optional<QString> replaced = compiled.native->replaceAll(subject, *decoded, error)) {
            result = *std::move(replaced);
            return true;
        }
        if (!error.description.isEmpty())
            return true;
    }
    QJSValue function = compiled.function;
    const QJSValue value = m_host.call(function, {QJSValue(subject), QJSValue(*decoded)}, error);
    result = value.toString();
    return true;
}

QString RegReplacer::replaceExactly(const QString &subject, const QString &pattern, const QString &replacement,
                                    bool ignoreCase)
{
    ScriptError error;
    m_host.evaluate(functionText(pattern, replacement, ignoreCase), error);
    if (!error.description.isEmpty())
        return fail(error, subject, pattern, ignoreCase);
    const QJSValue value = m_host.evaluate(callText(subject), error);
    if (!error.description.isEmpty())
        return fail(error, subject, pattern, ignoreCase);
    return value.toString();
}

QString RegReplacer::fail(const ScriptError &error, const QString &subject, const QString &pattern, bool ignoreCase)
{
    reportError(m_user, error, subject, pattern, ignoreCase);
    return ErrorMarker;
}

void RegReplacer::reportError(UserChannel &user, const ScriptError &error, const QString &subject,
                              const QString &pattern, bool ignoreCase)
{
    const QString message = QString::number(error.number) + u' ' + error.description + crlf + crlf
                            + QStringLiteral("Src　　:") + escapedSubject(subject) + crlf
                            + QStringLiteral("Pattern:") + wrappedPattern(pattern, ignoreCase);
    ShowMessage(user, message, MessageStyle::OkOnly, QStringLiteral("正規表現エラー　－　RegReplace"));
}
