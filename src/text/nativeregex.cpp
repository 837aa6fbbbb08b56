#include "text/nativeregex.h"

#include "text/scriptchars.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

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

// Where a quantifier may follow, and what the quantified part would take.
struct Atom
{
    bool quantifiable = false; // an atom precedes
    bool repeatable = true;    // both engines keep the same groups when it repeats
    bool consumes = false;     // it always takes a character
};

// One group being read, or the whole pattern.
struct Group
{
    bool capturing = false;
    bool holdsCapture = false;   // a capturing group lies inside
    bool branchConsumes = false; // the alternative being read always takes a character
    bool allConsume = true;      // so did every alternative before it
};

// The smallest count of a quantifier at text[at].
int minimumCount(const QString &text, qsizetype at)
{
    if (text[at] == u'*' || text[at] == u'?')
        return 0;
    if (text[at] == u'+')
        return 1;
    qsizetype end = at + 1;
    while (end < text.size() && text[end].isDigit())
        ++end;
    return text.mid(at + 1, end - at - 1).toInt() > 0 ? 1 : 0;
}

// The pattern in PCRE2's syntax, or none when it leaves the shared subset.
std::optional<QString> translate(const QString &pattern, bool ignoreCase)
{
    std::vector<Group> open(1);
    QString out;
    Atom last;
    bool branchBeforeLast = false;
    const auto addAtom = [&](bool consumes, bool repeatable) {
        branchBeforeLast = open.back().branchConsumes;
        open.back().branchConsumes = branchBeforeLast || consumes;
        last = Atom{true, repeatable, consumes};
    };
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        if (c.unicode() >= 128 && ignoreCase)
            return std::nullopt;
        if (c.isSurrogate() || ScriptChars::isLineTerminator(c) || c == u'/')
            return std::nullopt;
        const bool quantifier = c == u'*' || c == u'+' || c == u'?' || c == u'{';
        if (quantifier) {
            const qsizetype length = c == u'{' ? braceQuantifier(pattern, i) : 1;
            if (length == 0 || !last.quantifiable || !last.repeatable)
                return std::nullopt;
            if (minimumCount(pattern, i) == 0)
                open.back().branchConsumes = branchBeforeLast;
            out += pattern.mid(i, length);
            i += length;
            if (i < pattern.size() && pattern[i] == u'?')
                out += pattern[i++];
            last = Atom{};
            continue;
        }
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
            if (next == u'b' || next == u'B')
                last = Atom{};
            else
                addAtom(true, true);
            i += 2;
        } else if (c == u'[') {
            const qsizetype length = classAt(pattern, i, out);
            if (length == 0)
                return std::nullopt;
            i += length;
            addAtom(true, true);
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
            last = Atom{};
        } else if (c == u')') {
            if (open.size() < 2)
                return std::nullopt;
            const Group closed = open.back();
            open.pop_back();
            const bool consumes = closed.allConsume && closed.branchConsumes;
            // The engines keep different values for a group repeated by a
            // quantifier when a round may be empty or holds further groups.
            addAtom(consumes, !closed.holdsCapture && (!closed.capturing || consumes));
            out += c;
            ++i;
        } else if (c == u'|') {
            open.back().allConsume = open.back().allConsume && open.back().branchConsumes;
            open.back().branchConsumes = false;
            out += c;
            ++i;
            last = Atom{};
        } else if (c == u'^' || c == u'$') {
            out += c;
            ++i;
            last = Atom{};
        } else if (c == u']' || c == u'}') {
            return std::nullopt;
        } else {
            out += c;
            ++i;
            addAtom(true, true);
        }
    }
    if (open.size() != 1)
        return std::nullopt;
    return out;
}

} // namespace

std::optional<NativeRegex> NativeRegex::compile(const QString &pattern, bool ignoreCase)
{
    const std::optional<QString> translated = translate(pattern, ignoreCase);
    if (!translated)
        return std::nullopt;
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    const uint32_t options = PCRE2_DOLLAR_ENDONLY | (ignoreCase ? PCRE2_CASELESS : 0);
    pcre2_code_16 *code = pcre2_compile_16(reinterpret_cast<PCRE2_SPTR16>(translated->utf16()), translated->size(),
                                           options, &errorCode, &errorOffset, nullptr);
    if (!code)
        return std::nullopt;
    const bool jit = pcre2_jit_compile_16(code, PCRE2_JIT_COMPLETE) == 0;
    uint32_t groups = 0;
    pcre2_pattern_info_16(code, PCRE2_INFO_CAPTURECOUNT, &groups);
    std::shared_ptr<pcre2_code_16> shared(code, pcre2_code_free_16);
    std::shared_ptr<pcre2_match_data_16> data(pcre2_match_data_create_from_pattern_16(code, nullptr),
                                              pcre2_match_data_free_16);
    return NativeRegex(std::move(shared), std::move(data), int(groups), jit);
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

QString NativeMatch::captured(const QString &subject, int group) const
{
    const qsizetype start = offsets.value(2 * group, -1);
    return start < 0 ? QString() : subject.mid(start, offsets.value(2 * group + 1) - start);
}

namespace {

// The engine's own words for why it gave up.
ScriptError engineError(int code)
{
    PCRE2_UCHAR16 text[256];
    const int length = pcre2_get_error_message_16(code, text, 256);
    return {code, QString::fromUtf16(reinterpret_cast<const char16_t *>(text), std::max(length, 0))};
}

// Room for about a second of backtracking: far more than any file name
// needs, little enough that a runaway pattern ends soon with an error.
struct MatchSetting
{
    MatchSetting()
        : context(pcre2_match_context_create_16(nullptr)), stack(pcre2_jit_stack_create_16(32 * 1024, 4 * 1024 * 1024, nullptr))
    {
        pcre2_set_match_limit_16(context, 100'000'000);
        pcre2_jit_stack_assign_16(context, nullptr, stack);
    }
    ~MatchSetting()
    {
        pcre2_jit_stack_free_16(stack);
        pcre2_match_context_free_16(context);
    }

    pcre2_match_context_16 *context;
    pcre2_jit_stack_16 *stack;
};

} // namespace

NativeMatch::Status NativeRegex::search(const QString &subject, qsizetype from, ScriptError &error) const
{
    static const MatchSetting setting;
    const auto text = reinterpret_cast<PCRE2_SPTR16>(subject.constData());
    const auto run = [&](uint32_t options) {
        return pcre2_match_16(m_code.get(), text, subject.size(), PCRE2_SIZE(from), options, m_data.get(),
                              setting.context);
    };
    // The compiled code's own entry skips the checks of a pattern already known good.
    int found = m_jit ? pcre2_jit_match_16(m_code.get(), text, subject.size(), PCRE2_SIZE(from), 0, m_data.get(),
                                           setting.context)
                      : run(0);
    // The compiled code has a small stack of its own; the interpreter keeps
    // to the ordinary match and heap limits instead.
    if (found == PCRE2_ERROR_JIT_STACKLIMIT)
        found = run(PCRE2_NO_JIT);
    if (found == PCRE2_ERROR_NOMATCH)
        return NativeMatch::Status::NotFound;
    if (found < 0) {
        error = engineError(found);
        return NativeMatch::Status::GaveUp;
    }
    return NativeMatch::Status::Found;
}

qsizetype NativeRegex::start(int group) const
{
    const PCRE2_SIZE offset = pcre2_get_ovector_pointer_16(m_data.get())[2 * group];
    return offset == PCRE2_UNSET ? -1 : qsizetype(offset);
}

qsizetype NativeRegex::end(int group) const
{
    const PCRE2_SIZE offset = pcre2_get_ovector_pointer_16(m_data.get())[2 * group + 1];
    return offset == PCRE2_UNSET ? -1 : qsizetype(offset);
}

NativeMatch NativeRegex::match(const QString &subject, qsizetype from) const
{
    NativeMatch result;
    result.status = search(subject, from, result.error);
    if (result.status != NativeMatch::Status::Found)
        return result;
    for (int group = 0; group <= m_groups; ++group)
        result.offsets << start(group) << end(group);
    return result;
}

std::optional<QString> NativeRegex::replaceAll(const QString &subject, const QString &replacement,
                                               ScriptError &error) const
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
        const NativeMatch match = this->match(subject, from);
        if (match.status == NativeMatch::Status::GaveUp) {
            error = match.error;
            return std::nullopt;
        }
        if (match.status == NativeMatch::Status::NotFound)
            break;
        const qsizetype start = match.offsets[0];
        const qsizetype end = match.offsets[1];
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
                result += QStringView(subject).mid(start, end - start);
            else if (next == u'`')
                result += QStringView(subject).left(start);
            else if (next == u'\'')
                result += QStringView(subject).mid(end);
            else
                result += match.captured(subject, next.digitValue());
        }
        copied = end;
        // An empty match moves on by one, as the script engine's global replace does.
        from = end == start ? end + 1 : end;
    }
    result += QStringView(subject).mid(copied);
    return result;
}
