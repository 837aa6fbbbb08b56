#pragma once

#include <QHash>
#include <QJSValue>
#include <QString>

#include <memory>
#include <optional>

#include "text/nativeregex.h"
#include "text/scripthost.h"

class ScriptHost;

// One pattern as both engines know it.
struct CompiledPattern
{
    ScriptError error;                 // set when the script engine rejects the pattern
    mutable QJSValue regExp;           // global, multi-line RegExp of the match routines, made on first use
    std::optional<NativeRegex> native; // the same pattern on PCRE2, where it means the same there
    bool ignoreCase = false;
};

// The compiled patterns of the replace and the match routines, shared so
// that a pattern is compiled, and judged valid or not, once. The script
// engine's RegExp constructor is the judge: it reports a pattern that the
// engine would otherwise compile into one that never matches. A pattern that
// PCRE2 takes in the common subset is one the script engine takes too, so it
// is judged without starting the script engine.
class PatternCache
{
public:
    explicit PatternCache(ScriptHost &host);

    std::shared_ptr<const CompiledPattern> find(const QString &pattern, bool ignoreCase);
    // The script engine's RegExp of a pattern found here.
    QJSValue regExp(const CompiledPattern &compiled, const QString &pattern);

private:
    std::shared_ptr<const CompiledPattern> compile(const QString &pattern, bool ignoreCase);
    QJSValue makeRegExp(const QString &pattern, bool ignoreCase, ScriptError &error);

    ScriptHost &m_host;
    QJSValue m_makeRegExp;
    QHash<QString, std::shared_ptr<const CompiledPattern>> m_patterns;
};
