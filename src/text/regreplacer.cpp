#include "text/regreplacer.h"

#include "platform/crlf.h"
#include "platform/messagerequest.h"
#include "platform/showmessage.h"
#include "text/formattokenexpander.h"
#include "text/patterncache.h"
#include "text/scriptchars.h"
#include "text/textengine.h"

#include <algorithm>

namespace {

constexpr qsizetype functionLimit = 4096;
const QString replaceTitle = QStringLiteral("正規表現エラー　－　RegReplace");

bool hasLineBreak(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), ScriptChars::isLineTerminator);
}

// The script engine reads its source only up to a NUL.
bool hasNul(const QString &text)
{
    return text.contains(QChar(0));
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

// A pattern whose literal in the generated text is an ordinary regular
// expression: an empty one would make "//" a comment, a leading "*" would
// open one, and a literal ends at a line break. Only such a pattern has a
// meaning of its own, to be judged valid and to be matched by PCRE2.
bool isOrdinaryLiteral(const QString &pattern)
{
    return !pattern.isEmpty() && !pattern.startsWith(u'*') && !hasLineBreak(pattern) && !hasNul(pattern);
}

// A script string literal holds no line break, yet the engine's lexer lets
// one pass after an escaped backslash; such a call is rejected here.
ScriptError unterminatedLiteral()
{
    return {1002, QStringLiteral("SyntaxError: Unterminated string literal")};
}

QString wrappedPattern(const QString &pattern, bool ignoreCase)
{
    return u'/' + QString(pattern).replace(u'/', QStringLiteral("\\x2f")) + QStringLiteral("/g")
           + (ignoreCase ? QStringLiteral("i") : QString());
}

QString escapedSubject(const QString &subject)
{
    return QString(subject).replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\x27"));
}

}

RegReplacer::RegReplacer(UserChannel &user, ScriptHost &host, PatternCache &patterns, FormatTokenExpander &tokens)
    : m_user(user), m_host(host), m_patterns(patterns), m_tokens(tokens)
{
}

QString RegReplacer::functionText(const QString &pattern, const QString &replacement, bool ignoreCase)
{
    return QStringLiteral("function ExpRep(){") + CrLf
           + QStringLiteral("     var r, re;") + CrLf
           + QStringLiteral("     var ss = arguments[0];") + CrLf
           + QStringLiteral("     re = ") + wrappedPattern(pattern, ignoreCase) + CrLf
           + QStringLiteral("     ss.IgnoreCase = true ") + CrLf
           + QStringLiteral("     r = ss.replace(re, '") + QString(replacement).replace(u'\'', QStringLiteral("\\x27"))
           + QStringLiteral("');") + CrLf
           + QStringLiteral("     return(r);") + CrLf
           + QStringLiteral("};");
}

QString RegReplacer::callText(const QString &subject)
{
    return QStringLiteral("ExpRep('") + escapedSubject(subject) + QStringLiteral("')");
}

QString RegReplacer::RegReplace(const QString &subject, const QString &pattern, const QString &replacement,
                                bool ignoreCase)
{
    ScriptError error;
    QString result = replaced(subject, pattern, replacement, ignoreCase, error);
    if (!error.description.isEmpty())
        return fail(error, subject, pattern, ignoreCase);
    if (!m_tokens.expand(result)) {
        ShowMessage(m_user,
                    QStringLiteral("format 関数の記述が違います！\r\n\r\n例：　<format( $1 + 5 , \"000\" )>"),
                    MessageStyle::OkOnly, replaceTitle);
        return ErrorMarker;
    }
    return result;
}

bool RegReplacer::rejectsPattern(const QString &subject, const QString &pattern, bool ignoreCase)
{
    const ScriptError error = m_patterns.find(pattern, ignoreCase)->error;
    if (error.description.isEmpty())
        return false;
    reportError(m_user, error, subject, pattern, ignoreCase);
    return true;
}

// The one decision between the two engines. PCRE2 takes the replace when it
// reads the pattern and the subject alike and the replacement is plain text
// with $-tokens it knows; a backslash in the replacement is a script escape,
// left to the script to decode.
QString RegReplacer::replaced(const QString &subject, const QString &pattern, const QString &replacement,
                              bool ignoreCase, ScriptError &error)
{
    std::shared_ptr<const CompiledPattern> compiled;
    if (isOrdinaryLiteral(pattern)) {
        compiled = m_patterns.find(pattern, ignoreCase);
        if (!compiled->error.description.isEmpty()) {
            error = compiled->error;
            return {};
        }
    }
    if (hasLineBreak(subject) || hasBareLineBreak(replacement)) {
        error = unterminatedLiteral();
        return {};
    }
    const bool plain = !replacement.contains(u'\\') && !hasNul(replacement) && !hasNul(subject);
    if (compiled && compiled->native && plain && NativeRegex::canMatch(subject, ignoreCase)) {
        if (std::optional<QString> result = compiled->native->replaceAll(subject, replacement, error))
            return *std::move(result);
        if (!error.description.isEmpty())
            return {};
    }
    return runScript(subject, pattern, replacement, ignoreCase, error);
}

// The generated function, compiled once per text and called with the subject;
// a subject the call's literal would not carry whole runs the call itself.
QString RegReplacer::runScript(const QString &subject, const QString &pattern, const QString &replacement,
                               bool ignoreCase, ScriptError &error)
{
    const QString function = functionText(pattern, replacement, ignoreCase);
    if (hasNul(subject)) {
        m_host.evaluate(function, error);
        return error.description.isEmpty() ? m_host.evaluate(callText(subject), error).toString() : QString();
    }
    auto found = m_functions.find(function);
    if (found == m_functions.end()) {
        const QJSValue compiled = m_host.evaluate(function + CrLf + QStringLiteral("ExpRep"), error);
        if (!error.description.isEmpty())
            return {};
        if (m_functions.size() >= functionLimit)
            m_functions.clear();
        found = m_functions.insert(function, compiled);
    }
    return m_host.call(*found, {QJSValue(subject)}, error).toString();
}

QString RegReplacer::fail(const ScriptError &error, const QString &subject, const QString &pattern, bool ignoreCase)
{
    reportError(m_user, error, subject, pattern, ignoreCase);
    return ErrorMarker;
}

void RegReplacer::reportError(UserChannel &user, const ScriptError &error, const QString &subject,
                              const QString &pattern, bool ignoreCase)
{
    const QString message = QString::number(error.number) + u' ' + error.description + CrLf + CrLf
                            + QStringLiteral("Src　　:") + escapedSubject(subject) + CrLf
                            + QStringLiteral("Pattern:") + wrappedPattern(pattern, ignoreCase);
    ShowMessage(user, message, MessageStyle::OkOnly, replaceTitle);
}
