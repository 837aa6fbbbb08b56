#pragma once

#include <QJSValue>
#include <QString>

class LiteralShield;
class NativeRegex;
class PatternCache;
class ScriptHost;
class UserChannel;
struct CompiledPattern;

// The match routines on the script host's ECMAScript regular expressions, with
// global and multi-line matching, so that a pattern means the same here as in
// RegReplace. An invalid or runaway pattern gives the neutral result silently.
class RegexMatcher
{
public:
    RegexMatcher(UserChannel &user, ScriptHost &host, PatternCache &patterns);

    // The first match, or its first group when the pattern has groups; the
    // subject itself for an empty pattern; empty when nothing matches.
    QString RegFirstMatch(const QString &subject, const QString &pattern, bool ignoreCase);
    // The replace of every match; the subject when nothing matches.
    QString RegReplaceIfMatch(const QString &subject, const QString &pattern, const QString &replacement,
                              bool ignoreCase);
    // Zero-based position of the first match; 0 when nothing matches.
    int RegFirstIndex(const QString &subject, const QString &pattern, bool ignoreCase);
    // The replacement with $1, $2, … filled from the first match's groups in
    // ascending order; empty when the pattern is invalid; ErrorMarker, after
    // the error message, when the engine gave up on the subject. With a
    // shield, the groups go in shielded.
    QString ExpandSubMatches(const QString &subject, const QString &pattern, const QString &replacement,
                             bool ignoreCase, const LiteralShield *shield = nullptr);

    // Whether the pattern, as RegReplace's search (neither global nor
    // multi-line), matches the subject; true when the engine gave up on it.
    bool RegTest(const QString &subject, const QString &pattern, bool ignoreCase);

private:
    // PCRE2's form of the pattern where it matches this subject alike; else null.
    static const NativeRegex *native(const CompiledPattern &compiled, const QString &subject, bool ignoreCase);
    QJSValue helper(QJSValue &slot, const char *source);
    QJSValue run(QJSValue &slot, const char *source, const QJSValueList &arguments, bool &ok);

    UserChannel &m_user;
    ScriptHost &m_host;
    PatternCache &m_patterns;
    QJSValue m_firstMatch, m_replace, m_firstIndex, m_groups, m_test;
};
