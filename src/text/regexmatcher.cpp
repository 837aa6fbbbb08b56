#include "text/regexmatcher.h"

#include "text/literalshield.h"
#include "text/patterncache.h"
#include "text/regreplacer.h"
#include "text/scripthost.h"
#include "text/textengine.h"

namespace {

const char firstMatchSource[] = "(function (re, s) { re.lastIndex = 0; var m = re.exec(s);"
                                " if (m === null) return ''; if (m.length > 1) return m[1] === undefined ? '' : m[1];"
                                " return m[0]; })";
const char replaceSource[] = "(function (re, s, r) { re.lastIndex = 0; if (!re.test(s)) return s;"
                             " re.lastIndex = 0; return s.replace(re, r); })";
const char firstIndexSource[] = "(function (re, s) { re.lastIndex = 0; var m = re.exec(s);"
                                " return m === null ? 0 : m.index; })";
const char groupsSource[] = "(function (re, s) { re.lastIndex = 0; var m = re.exec(s); if (m === null) return null;"
                            " var g = []; for (var i = 1; i < m.length; i++) g.push(m[i] === undefined ? '' : m[i]);"
                            " return g; })";
const char testSource[] = "(function (re, s) { return new RegExp(re.source, re.ignoreCase ? 'i' : '').test(s); })";

}

RegexMatcher::RegexMatcher(UserChannel &user, ScriptHost &host, PatternCache &patterns)
    : m_user(user), m_host(host), m_patterns(patterns)
{
}

QJSValue RegexMatcher::helper(QJSValue &slot, const char *source)
{
    if (!slot.isCallable()) {
        ScriptError error;
        slot = m_host.evaluate(QString::fromLatin1(source), error);
    }
    return slot;
}

QJSValue RegexMatcher::run(QJSValue &slot, const char *source, const QJSValueList &arguments, bool &ok)
{
    QJSValue function = helper(slot, source);
    ScriptError error;
    const QJSValue value = m_host.call(function, arguments, error);
    ok = error.description.isEmpty();
    return value;
}

const NativeRegex *RegexMatcher::native(const CompiledPattern &compiled, const QString &subject, bool ignoreCase)
{
    return compiled.native && NativeRegex::canMatch(subject, ignoreCase) ? &*compiled.native : nullptr;
}

QString RegexMatcher::RegFirstMatch(const QString &subject, const QString &pattern, bool ignoreCase)
{
    if (pattern.isEmpty())
        return subject;
    const std::shared_ptr<const CompiledPattern> compiled = m_patterns.find(pattern, ignoreCase);
    if (!compiled->error.description.isEmpty())
        return {};
    if (const NativeRegex *fast = native(*compiled, subject, ignoreCase)) {
        const NativeMatch match = fast->match(subject);
        return match.captured(subject, fast->captureCount() > 0 ? 1 : 0);
    }
    const QJSValue regExp = m_patterns.regExp(*compiled, pattern);
    bool ok = false;
    const QJSValue value = run(m_firstMatch, firstMatchSource, {regExp, QJSValue(subject)}, ok);
    return ok ? value.toString() : QString();
}

QString RegexMatcher::RegReplaceIfMatch(const QString &subject, const QString &pattern,
                                        const QString &replacement, bool ignoreCase)
{
    if (pattern.isEmpty())
        return subject;
    const std::shared_ptr<const CompiledPattern> compiled = m_patterns.find(pattern, ignoreCase);
    if (!compiled->error.description.isEmpty())
        return subject;
    const QJSValue regExp = m_patterns.regExp(*compiled, pattern);
    bool ok = false;
    const QJSValue value = run(m_replace, replaceSource, {regExp, QJSValue(subject), QJSValue(replacement)}, ok);
    return ok ? value.toString() : subject;
}

int RegexMatcher::RegFirstIndex(const QString &subject, const QString &pattern, bool ignoreCase)
{
    if (pattern.isEmpty())
        return 0;
    const std::shared_ptr<const CompiledPattern> compiled = m_patterns.find(pattern, ignoreCase);
    if (!compiled->error.description.isEmpty())
        return 0;
    const QJSValue regExp = m_patterns.regExp(*compiled, pattern);
    bool ok = false;
    const QJSValue value = run(m_firstIndex, firstIndexSource, {regExp, QJSValue(subject)}, ok);
    return ok ? value.toInt() : 0;
}

QString RegexMatcher::ExpandSubMatches(const QString &subject, const QString &pattern,
                                       const QString &replacement, bool ignoreCase, const LiteralShield *shield)
{
    const auto literal = [shield](const QString &group) { return shield ? shield->shielded(group) : group; };
    if (pattern.isEmpty() || replacement.isEmpty())
        return replacement;
    const std::shared_ptr<const CompiledPattern> compiled = m_patterns.find(pattern, ignoreCase);
    if (!compiled->error.description.isEmpty())
        return {};
    if (const NativeRegex *fast = native(*compiled, subject, ignoreCase)) {
        const NativeMatch match = fast->match(subject);
        if (match.status == NativeMatch::Status::GaveUp) {
            // The groups would be missing from the name without a word.
            RegReplacer::reportError(m_user, match.error, subject, pattern, ignoreCase);
            return ErrorMarker;
        }
        if (match.status == NativeMatch::Status::NotFound)
            return replacement;
        QString result = replacement;
        for (int i = 1; i <= fast->captureCount(); ++i)
            result.replace(u'$' + QString::number(i), literal(match.captured(subject, i)));
        return result;
    }
    const QJSValue regExp = m_patterns.regExp(*compiled, pattern);
    bool ok = false;
    const QJSValue groups = run(m_groups, groupsSource, {regExp, QJSValue(subject)}, ok);
    if (!ok)
        return {};
    if (groups.isNull())
        return replacement;
    QString result = replacement;
    const int count = groups.property(QStringLiteral("length")).toInt();
    for (int i = 1; i <= count; ++i)
        result.replace(u'$' + QString::number(i), literal(groups.property(quint32(i - 1)).toString()));
    return result;
}

bool RegexMatcher::RegTest(const QString &subject, const QString &pattern, bool ignoreCase)
{
    const std::shared_ptr<const CompiledPattern> compiled = m_patterns.find(pattern, ignoreCase);
    if (!compiled->error.description.isEmpty())
        return false;
    const QJSValue regExp = m_patterns.regExp(*compiled, pattern);
    bool ok = false;
    const QJSValue found = run(m_test, testSource, {regExp, QJSValue(subject)}, ok);
    return !ok || found.toBool();
}
