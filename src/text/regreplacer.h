#pragma once

#include <QHash>
#include <QJSValue>
#include <QString>

#include <optional>

#include "text/nativeregex.h"
#include "text/scripthost.h"

class FormatTokenExpander;
class UserChannel;

// RegReplace on the script host. Its result is, by definition, that of the
// generated script function ExpRep called with the escaped subject; the
// function is compiled once per pattern and the replacement literal decoded
// once per text, so a long Try does not compile a script per row.
class RegReplacer
{
public:
    RegReplacer(UserChannel &user, ScriptHost &host, FormatTokenExpander &tokens);

    // The replaced text with its format tokens expanded; ErrorMarker after
    // the error message has been shown.
    QString RegReplace(const QString &subject, const QString &pattern, const QString &replacement, bool ignoreCase);

    // The generated function and its call, as the script host is given them.
    static QString functionText(const QString &pattern, const QString &replacement, bool ignoreCase);
    static QString callText(const QString &subject);
    static QString wrappedPattern(const QString &pattern, bool ignoreCase);
    static QString escapedSubject(const QString &subject);
    // The error message of a failed replace or match: the error, the subject and the pattern.
    static void reportError(UserChannel &user, const ScriptError &error, const QString &subject,
                            const QString &pattern, bool ignoreCase);

private:
    // False when only the generated text itself gives this call's result;
    // true with result, or with error set when the function failed.
    bool replaceFast(const QString &subject, const QString &pattern, const QString &replacement, bool ignoreCase,
                     QString &result, ScriptError &error);
    QString replaceExactly(const QString &subject, const QString &pattern, const QString &replacement,
                           bool ignoreCase);
    // One pattern's function, or the error of an invalid pattern.
    struct CompiledPattern
    {
        QJSValue function; // undefined: only the generated text itself gives this pattern's result
        ScriptError error;
        std::optional<NativeRegex> native; // the same replace without the script engine
    };

    const CompiledPattern &compiledPattern(const QString &pattern, bool ignoreCase);
    const std::optional<QString> &decodedReplacement(const QString &replacement);
    QString fail(const ScriptError &error, const QString &subject, const QString &pattern, bool ignoreCase);

    UserChannel &m_user;
    ScriptHost &m_host;
    FormatTokenExpander &m_tokens;
    QHash<QString, CompiledPattern> m_patterns;
    QJSValue m_validator;
    QHash<QString, std::optional<QString>> m_replacements; // none: the literal does not decode
};
