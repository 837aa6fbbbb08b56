#include "text/patterncache.h"

namespace {

// Enough for every pattern of a long session; a list of patterns generated
// per row starts afresh instead of growing without end.
constexpr qsizetype cacheLimit = 4096;

}

PatternCache::PatternCache(ScriptHost &host)
    : m_host(host)
{
}

std::shared_ptr<const CompiledPattern> PatternCache::find(const QString &pattern, bool ignoreCase)
{
    const QString key = (ignoreCase ? u'i' : u'c') + pattern;
    const auto found = m_patterns.constFind(key);
    if (found != m_patterns.cend())
        return *found;
    if (m_patterns.size() >= cacheLimit)
        m_patterns.clear();
    return *m_patterns.insert(key, compile(pattern, ignoreCase));
}

std::shared_ptr<const CompiledPattern> PatternCache::compile(const QString &pattern, bool ignoreCase)
{
    auto compiled = std::make_shared<CompiledPattern>();
    compiled->ignoreCase = ignoreCase;
    compiled->native = NativeRegex::compile(pattern, ignoreCase);
    if (!compiled->native)
        compiled->regExp = makeRegExp(pattern, ignoreCase, compiled->error);
    return compiled;
}

QJSValue PatternCache::regExp(const CompiledPattern &compiled, const QString &pattern)
{
    if (compiled.regExp.isUndefined()) {
        ScriptError ignored; // PCRE2 took the pattern, so the script engine does too
        compiled.regExp = makeRegExp(pattern, compiled.ignoreCase, ignored);
    }
    return compiled.regExp;
}

QJSValue PatternCache::makeRegExp(const QString &pattern, bool ignoreCase, ScriptError &error)
{
    if (!m_makeRegExp.isCallable())
        m_makeRegExp = m_host.evaluate(QStringLiteral("(function (p, f) { return new RegExp(p, f); })"), error);
    const QString flags = ignoreCase ? QStringLiteral("gmi") : QStringLiteral("gm");
    return m_host.call(m_makeRegExp, {QJSValue(pattern), QJSValue(flags)}, error);
}
