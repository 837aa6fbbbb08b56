#pragma once

#include <QHash>
#include <QJSValue>
#include <QString>

#include "text/scripthost.h"

class FormatTokenExpander;
class PatternCache;
class UserChannel;

// RegReplace. Its result is, by definition, that of the generated script
// function ExpRep called with the escaped subject. PCRE2 gives the replace
// where it is sure to agree; everything else runs the generated function,
// compiled once per function text so that a long Try does not compile a
// script per row.
class RegReplacer
{
public:
    RegReplacer(UserChannel &user, ScriptHost &host, PatternCache &patterns, FormatTokenExpander &tokens);

    // The replaced text with its format tokens expanded; ErrorMarker after
    // the error message has been shown.
    QString RegReplace(const QString &subject, const QString &pattern, const QString &replacement, bool ignoreCase);
    // Whether pattern is one RegReplace fails on, after the same error message.
    bool rejectsPattern(const QString &subject, const QString &pattern, bool ignoreCase);

    // The generated function and its call, as the script host is given them.
    static QString functionText(const QString &pattern, const QString &replacement, bool ignoreCase);
    static QString callText(const QString &subject);
    // The error message of a failed replace or match: the error, the subject and the pattern.
    static void reportError(UserChannel &user, const ScriptError &error, const QString &subject,
                            const QString &pattern, bool ignoreCase);

private:
    // The replace before token expansion; error is set when it failed.
    QString replaced(const QString &subject, const QString &pattern, const QString &replacement, bool ignoreCase,
                     ScriptError &error);
    QString runScript(const QString &subject, const QString &pattern, const QString &replacement, bool ignoreCase,
                      ScriptError &error);
    QString fail(const ScriptError &error, const QString &subject, const QString &pattern, bool ignoreCase);

    UserChannel &m_user;
    ScriptHost &m_host;
    PatternCache &m_patterns;
    FormatTokenExpander &m_tokens;
    QHash<QString, QJSValue> m_functions; // by function text
};
