#include "text/regexmatcher.h"

#include "text/literalshield.h"
#include "text/regreplacer.h"
#include "text/scripthost.h"
#include "text/textengine.h"

namespace {

const char makeRegExpSource[] = "(function (p, f) { return new RegExp(p, f); })";
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

}

RegexMatcher::RegexMatcher(UserChannel &user, ScriptHost &host)
    : m_user(user), m_host(host)
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

QJSValue RegexMatcher::compiled(const QString &pattern, bool ignoreCase)
{
    const QString key = (ignoreCase ? u'i' : u'c') + pattern;
    const auto found = m_patterns.constFind(key);
    if (found != m_patterns.cend())
        return *found;
    bool ok = false;
    const QString flags = ignoreCase ? QStringLiteral("gmi") : QStringLiteral("gm");
    QJSValue regex = run(m_makeRegExp, makeRegExpSource, {QJSValue(pattern), QJSValue(flags)}, ok);
    if (!ok)
        regex = QJSValue();
    if (m_patterns.size() > 1000)
        m_patterns.clear();
    m_patterns.insert(key, regex);
    return regex;
}

const NativeRegex *RegexMatcher::native(const QString &subject, const QString &pattern, bool ignoreCase)
{
    if (!NativeRegex::canMatch(subject, ignoreCase))
        return nullptr;
    const QString key = (ignoreCase ? u'i' : u'c') + pattern;
    auto found = m_natives.find(key);
    if (found == m_natives.end()) {
        if (m_natives.size() > 1000)
            m_natives.clear();
        found = m_natives.insert(key, NativeRegex::compile(pattern, ignoreCase));
    }
    return found->has_value() ? &**found : nullptr;
}

QString RegexMatcher::RegFirstMatch(const QString &subject, const QString &pattern, bool ignoreCase)
{
    if (pattern.isEmpty())
        return subject;
    const QJSValue regex = compiled(pattern, ignoreCase);
    if (regex.isUndefined())
        return {};
    if (const NativeRegex *fast = native(subject, pattern, ignoreCase)) {
        const NativeMatch match = fast->match(subject);
        return match.captured(subject, fast->captureCount() > 0 ? 1 : 0);
    }
    bool ok = false;
    const QJSValue value = run(m_firstMatch, firstMatchSource, {regex, QJSValue(subject)}, ok);
    return ok ? value.toString() : QString();
}

QString RegexMatcher::RegReplaceIfMatch(const QString &subject, const QString &pattern,
                                        const QString &replacement, bool ignoreCase)
{
    if (pattern.isEmpty())
        return subject;
    const QJSValue regex = compiled(pattern, ignoreCase);
    if (regex.isUndefined())
        return subject;
    bool ok = false;
    const QJSValue value = run(m_replace, replaceSource, {regex, QJSValue(subject), QJSValue(replacement)}, ok);
    return ok ? value.toString() : subject;
}

int RegexMatcher::RegFirstIndex(const QString &subject, const QString &pattern, bool ignoreCase)
{
    if (pattern.isEmpty())
        return 0;
    const QJSValue regex = compiled(pattern, ignoreCase);
    if (regex.isUndefined())
        return 0;
    bool ok = false;
    const QJSValue value = run(m_firstIndex, firstIndexSource, {regex, QJSValue(subject)}, ok);
    return ok ? value.toInt() : 0;
}

QString RegexMatcher::ExpandSubMatches(const QString &subject, const QString &pattern,
                                       const QString &replacement, bool ignoreCase, const LiteralShield *shield)
{
    const auto literal = [shield](const QString &group) { return shield ? shield->shielded(group) : group; };
    if (pattern.isEmpty() || replacement.isEmpty())
        return replacement;
    const QJSValue regex = compiled(pattern, ignoreCase);
    if (regex.isUndefined())
        return {};
    if (const NativeRegex *fast = native(subject, pattern, ignoreCase)) {
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
    bool ok = false;
    const QJSValue groups = run(m_groups, groupsSource, {regex, QJSValue(subject)}, ok);
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
