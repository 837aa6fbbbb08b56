#include "text/nativeregex.h"

#include "text/scriptchars.h"

#include <vector>

namespace {

// ECMAScript's \s, spelled out: Qt's \s is narrower.
const QString blankClass = QStringLiteral(
    "[\\t\\n\\x{0B}\\f\\r \\x{A0}\\x{1680}\\x{2000}-\\x{200A}\\x{2028}\\x{2029}\\x{202F}\\x{205F}\\x{3000}\\x{FEFF}]");
const QString nonBlankClass = QStringLiteral(
    "[^\\t\\n\\x{0B}\\f\\r \\x{A0}\\x{1680}\\x{2000}-\\x{200A}\\x{2028}\\x{2029}\\x{202F}\\x{205F}\\x{3000}\\x{FEFF}]");

bool isAsciiPunctuation(QChar c)
{
    const char16_t u = c.unicode();
    return u < 128 && !((u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z'))
           && u > 0x20 && u != 0x7F;
}

// Reads "{n}", "{n,}" or "{n,m}" at text[at]; returns its length, 0 when none.
qsizetype braceQuantifier(const QString &text, qsizetype at)
{
    qsizetype i = at + 1;
    const auto digits = [&] {
        const qsizetype start = i;
        while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128)
            ++i;
        return i > start;
    };
    if (!digits())
        return 0;
    if (i < text.size() && text[i] == u',') {
        ++i;
        digits();
    }
    return i < text.size() && text[i] == u'}' ? i + 1 - at : 0;
}

// A class "[...]" at text[at], copied into out; its length, 0 when outside the subset.
qsizetype classAt(const QString &text, qsizetype at, QString &out)
{
    qsizetype i = at + 1;
    QString copy = QStringLiteral("[");
    if (i < text.size() && text[i] == u'^')
        copy += text[i++];
    // "[]" and "[^]" mean other things to the two engines.
    if (i < text.size() && text[i] == u']')
        return 0;
    while (i < text.size() && text[i] != u']') {
        const QChar c = text[i];
        if (c == u'[')
            return 0; // "[:" opens a POSIX class in Qt's engine
        if (c == u'\\') {
            if (i + 1 >= text.size())
                return 0;
            const QChar next = text[i + 1];
            if (QStringView(u"dDwW").contains(next) || (isAsciiPunctuation(next) && next != u'/'))
                copy += c + QString(next);
            else
                return 0;
            i += 2;
            continue;
        }
        if (c == u'/' || c.isSurrogate() || ScriptChars::isLineTerminator(c))
            return 0;
        copy += c;
        ++i;
    }
    if (i >= text.size())
        return 0;
    out += copy + u']';
    return i + 1 - at;
}

// The pattern in Qt's syntax, or none when it leaves the shared subset.
std::optional<QString> translate(const QString &pattern, bool ignoreCase)
{
    struct Group
    {
        bool capturing = false;
        bool holdsCapture = false;
    };
    std::vector<Group> open;
    QString out;
    bool quantifiable = false;     // an atom precedes
    bool lastWasGroupWithCapture = false;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        if (c.unicode() >= 128 && ignoreCase)
            return std::nullopt;
        if (c.isSurrogate() || ScriptChars::isLineTerminator(c) || c == u'/')
            return std::nullopt;
        const bool quantifier = c == u'*' || c == u'+' || c == u'?' || c == u'{';
        if (quantifier) {
            const qsizetype length = c == u'{' ? braceQuantifier(pattern, i) : 1;
            if (length == 0 || !quantifiable || lastWasGroupWithCapture)
                return std::nullopt;
            out += pattern.mid(i, length);
            i += length;
            if (i < pattern.size() && pattern[i] == u'?')
                out += pattern[i++];
            quantifiable = false;
            continue;
        }
        lastWasGroupWithCapture = false;
        if (c == u'\\') {
            if (i + 1 >= pattern.size())
                return std::nullopt;
            const QChar next = pattern[i + 1];
            if (next == u's')
                out += blankClass;
            else if (next == u'S')
                out += nonBlankClass;
            else if (QStringView(u"dDwWbB").contains(next) || (isAsciiPunctuation(next) && next != u'/'))
                out += c + QString(next);
            else
                return std::nullopt;
            quantifiable = next != u'b' && next != u'B';
            i += 2;
        } else if (c == u'[') {
            const qsizetype length = classAt(pattern, i, out);
            if (length == 0)
                return std::nullopt;
            i += length;
            quantifiable = true;
        } else if (c == u'(') {
            Group group;
            if (pattern.mid(i, 3) == u"(?:") {
                out += QStringLiteral("(?:");
                i += 3;
            } else if (i + 1 < pattern.size() && pattern[i + 1] == u'?') {
                return std::nullopt; // look-arounds and named groups stay with the script engine
            } else {
                group.capturing = true;
                for (Group &outer : open)
                    outer.holdsCapture = true;
                out += c;
                ++i;
            }
            open.push_back(group);
            quantifiable = false;
        } else if (c == u')') {
            if (open.empty())
                return std::nullopt;
            // The engines keep different values for a group repeated by a
            // quantifier (an empty last round, groups inside it): leave those out.
            lastWasGroupWithCapture = open.back().holdsCapture || open.back().capturing;
            open.pop_back();
            out += c;
            ++i;
            quantifiable = true;
        } else if (c == u'|') {
            out += c;
            ++i;
            quantifiable = false;
        } else if (c == u'^' || c == u'$') {
            out += c;
            ++i;
            quantifiable = false;
        } else if (c == u']' || c == u'}') {
            return std::nullopt;
        } else {
            out += c;
            ++i;
            quantifiable = true;
        }
    }
    if (!open.empty())
        return std::nullopt;
    return out;
}

} // namespace

std::optional<NativeRegex> NativeRegex::compile(const QString &pattern, bool ignoreCase)
{
    const std::optional<QString> translated = translate(pattern, ignoreCase);
    if (!translated)
        return std::nullopt;
    QRegularExpression regex(*translated, ignoreCase ? QRegularExpression::CaseInsensitiveOption
                                                     : QRegularExpression::NoPatternOption);
    if (!regex.isValid())
        return std::nullopt;
    regex.optimize();
    return NativeRegex(regex);
}

bool NativeRegex::canMatch(const QString &subject, bool ignoreCase)
{
    for (const QChar c : subject) {
        if (c.isSurrogate() || ScriptChars::isLineTerminator(c))
            return false;
        if (ignoreCase && (c.unicode() == 0x017F || c.unicode() == 0x212A))
            return false;
    }
    return true;
}

std::optional<QString> NativeRegex::replaceAll(const QString &subject, const QString &replacement) const
{
    const int groups = captureCount();
    for (qsizetype i = replacement.indexOf(u'$'); i >= 0; i = replacement.indexOf(u'$', i + 2)) {
        const QChar next = i + 1 < replacement.size() ? replacement[i + 1] : QChar();
        const bool group = next >= u'1' && next <= u'9' && next.digitValue() <= groups
                           && !(i + 2 < replacement.size() && replacement[i + 2].isDigit());
        if (!group && next != u'$' && next != u'&' && next != u'`' && next != u'\'')
            return std::nullopt;
    }
    QString result;
    qsizetype copied = 0;
    qsizetype from = 0;
    while (from <= subject.size()) {
        const QRegularExpressionMatch match = m_regex.match(subject, from);
        if (!match.hasMatch())
            break;
        const qsizetype start = match.capturedStart();
        const qsizetype end = match.capturedEnd();
        result += QStringView(subject).mid(copied, start - copied);
        for (qsizetype i = 0; i < replacement.size(); ++i) {
            if (replacement[i] != u'$' || i + 1 >= replacement.size()) {
                result += replacement[i];
                continue;
            }
            const QChar next = replacement[++i];
            if (next == u'$')
                result += u'$';
            else if (next == u'&')
                result += match.capturedView();
            else if (next == u'`')
                result += QStringView(subject).left(start);
            else if (next == u'\'')
                result += QStringView(subject).mid(end);
            else
                result += match.capturedView(next.digitValue());
        }
        copied = end;
        // An empty match moves on by one, as the script engine's global replace does.
        from = end == start ? end + 1 : end;
    }
    result += QStringView(subject).mid(copied);
    return result;
}
