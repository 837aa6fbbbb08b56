#include "text/compiledreplace.h"

#include "platform/pathtext.h"
#include "text/asciitext.h"
#include "text/patterncache.h"
#include "text/scriptchars.h"
#include "text/textengine.h"
#include "text/valueformatter.h"

#include <array>

namespace {

using Piece = CompiledReplace::Piece;

// The per-row path expands at most this many format tokens.
constexpr int tokenLimit = 10;

constexpr std::array<bool, 128> asciiSet(const char *characters)
{
    std::array<bool, 128> set{};
    for (const char *c = characters; *c; ++c)
        set[size_t(*c)] = true;
    return set;
}

// What some step treats specially wherever it stands: references and
// escapes, placeholders, calls and tokens, the "27ZZ" the function
// expansion removes, and what ends the script engine's string literals.
constexpr auto reserved = asciiSet("$\\<>()\",Z\n\r");
// The arithmetic: a text made of these may be computed.
constexpr auto operators = asciiSet("*/+-|&=!");
constexpr auto formulaCharacters = asciiSet("0123456789E*/+-.()|&=! ");

bool isReserved(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 128)
        return u == 0 || reserved[u];
    // Private use: the literal shield's stand-ins; U+FDEF: the escape sign of calls.
    return c.isSurrogate() || ScriptChars::isLineTerminator(c) || (u >= 0xE000 && u <= 0xF8FF) || u == 0xFDEF;
}

bool isOperator(QChar c)
{
    return c.unicode() < 128 && operators[c.unicode()];
}

bool isFormulaCharacter(QChar c)
{
    return c.unicode() < 128 && formulaCharacters[c.unicode()];
}

// What the text of a replace string may hold.
struct Holdings
{
    int tokens = 0;
    bool operatorOutside = false; // an operator outside the format tokens
    bool nonFormula = false;      // a character that keeps the text from being computed
};

void appendText(std::vector<Piece> &pieces, QChar c)
{
    if (pieces.empty() || pieces.back().kind != Piece::Kind::Text)
        pieces.push_back({});
    pieces.back().text += c;
}

bool parsePieces(const QString &text, qsizetype &at, int groups, bool argument, std::vector<Piece> &out,
                 Holdings &holds);

// A format token at text[at], spelled without blanks; at moves past it.
bool parseToken(const QString &text, qsizetype &at, int groups, std::vector<Piece> &out, Holdings &holds)
{
    if (++holds.tokens > tokenLimit)
        return false;
    Piece token{Piece::Kind::Format, {}, 0, {}};
    at += 8; // "<format("
    if (!parsePieces(text, at, groups, true, token.argument, holds) || token.argument.empty()
        || !AsciiText::matchesAt(text, at, u",\""))
        return false;
    const qsizetype close = text.indexOf(u'"', at + 2);
    if (close <= at + 2 || !AsciiText::matchesAt(text, close, u"\")>"))
        return false;
    for (qsizetype i = at + 2; i < close; ++i) {
        if (isReserved(text[i]))
            return false;
    }
    token.text = Unquote(text.mid(at + 1, close - at));
    if (std::all_of(token.text.cbegin(), token.text.cend(), [](QChar c) { return c == u'0'; }))
        token.zeros = int(token.text.size());
    out.push_back(std::move(token));
    at = close + 3;
    return true;
}

// The pieces from text[at] to its end, or within a format token's argument to its ",".
bool parsePieces(const QString &text, qsizetype &at, int groups, bool argument, std::vector<Piece> &out,
                 Holdings &holds)
{
    while (at < text.size()) {
        const QChar c = text[at];
        if (c == u'$') {
            // "$1" to "$9" of an existing group; any other "$" means something to the replace.
            const int group = at + 1 < text.size() ? text[at + 1].unicode() - u'0' : 0;
            if (group < 1 || group > 9 || group > groups)
                return false;
            out.push_back({Piece::Kind::Group, {}, group, {}});
            at += 2;
        } else if (AsciiText::matchesAt(text, at, u"Row()")) {
            out.push_back({Piece::Kind::Row, {}, 0, {}});
            at += 5;
        } else if (argument && c == u',') {
            return true;
        } else if (!argument && QStringView(text).mid(at, 10).compare(u"<FileName>", Qt::CaseInsensitive) == 0) {
            out.push_back({Piece::Kind::Name, {}, 0, {}});
            at += 10;
        } else if (!argument && AsciiText::matchesAt(text, at, u"<format(")) {
            if (!parseToken(text, at, groups, out, holds))
                return false;
        } else {
            if (isReserved(c) || (argument && isOperator(c)))
                return false;
            holds.operatorOutside = holds.operatorOutside || isOperator(c);
            holds.nonFormula = holds.nonFormula || !isFormulaCharacter(c);
            appendText(out, c);
            ++at;
        }
    }
    return !argument;
}

// Whether a search means the same in any letter case: no letter outside an
// escape, and no class, whose ranges may span letters.
bool isCaseless(const QString &search)
{
    for (qsizetype i = 0; i < search.size(); ++i) {
        const char16_t c = search[i].unicode();
        if (c == u'\\')
            ++i;
        else if (c == u'[' || (c < 128 && QChar(c).isLetter()))
            return false;
    }
    return true;
}

// The digits of an integer written without sign, point or exponent; an empty view for any other text.
QStringView integerDigits(QStringView text)
{
    if (text.isEmpty() || text.size() > 15
        || !std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return {};
    qsizetype first = 0;
    while (first + 1 < text.size() && text[first] == u'0')
        ++first;
    return text.mid(first);
}

// "000" pads a whole number with zeros to its width, as the formatter does;
// false for any other pattern (width 0) or value.
bool appendZeroPadded(QString &out, QStringView argument, qsizetype width)
{
    const QStringView digits = integerDigits(argument);
    if (width == 0 || digits.isEmpty())
        return false;
    out.resize(out.size() + std::max<qsizetype>(width - digits.size(), 0), u'0');
    out += digits;
    return true;
}

void appendNumber(QString &out, int value)
{
    if (value < 0) {
        out += QString::number(value);
        return;
    }
    char16_t digits[12];
    int count = 0;
    do {
        digits[count++] = char16_t(u'0' + value % 10);
        value /= 10;
    } while (value > 0);
    while (count > 0)
        out += QChar(digits[--count]);
}

// A formatted value that a later token round, or the shield's restoring, would change.
bool upsetsLaterSteps(const QString &formatted)
{
    return std::any_of(formatted.cbegin(), formatted.cend(),
                       [](QChar c) { return isReserved(c) || ScriptChars::isBlank(c); });
}

}

std::optional<CompiledReplace> CompiledReplace::compile(PatternCache &patterns, const QString &search,
                                                        const QString &replacement, bool ignoreCase)
{
    // The replace hands these searches to the script engine.
    if (search.isEmpty() || search.startsWith(u'*') || search.contains(QChar(0)))
        return std::nullopt;
    CompiledReplace compiled;
    compiled.m_groups = patterns.find(search, true);
    compiled.m_replace = ignoreCase || isCaseless(search) ? compiled.m_groups : patterns.find(search, false);
    if (!compiled.m_groups->native || !compiled.m_replace->native)
        return std::nullopt;
    Holdings holds;
    qsizetype at = 0;
    if (!parsePieces(replacement, at, compiled.m_groups->native->captureCount(), false, compiled.m_pieces, holds))
        return std::nullopt;
    // Blanks next to a token are part of it; operators make the text a formula.
    // A format token's letters keep the text from being computed.
    const bool neverFormula = holds.nonFormula || holds.tokens > 0;
    if (holds.operatorOutside && !neverFormula)
        return std::nullopt;
    compiled.m_mayReadAsError = replacement.contains(u'#')
                                || std::any_of(compiled.m_pieces.cbegin(), compiled.m_pieces.cend(),
                                               [](const Piece &piece) { return piece.kind == Piece::Kind::Name; });
    for (char16_t c = 0; c < 128; ++c)
        compiled.m_refusedAscii[c] = isReserved(QChar(c)) || (isOperator(QChar(c)) && !neverFormula);
    return compiled;
}

bool CompiledReplace::nameFits(const QString &name) const
{
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u < 128) {
            if (m_refusedAscii[u])
                return false;
        } else if (isReserved(c) || u == 0x017F || u == 0x212A) {
            // U+017F and U+212A fold onto letters when case is ignored, which
            // PCRE2 and the script engine do differently.
            return false;
        }
    }
    return true;
}

bool CompiledReplace::fill(const std::vector<Piece> &pieces, const QString &name, int rowIndex, QString &out) const
{
    for (const Piece &piece : pieces) {
        switch (piece.kind) {
        case Piece::Kind::Text:
            out += piece.text;
            break;
        case Piece::Kind::Group:
            out += captured(name, piece.group);
            break;
        case Piece::Kind::Row:
            appendNumber(out, rowIndex);
            break;
        case Piece::Kind::Name:
            out += name;
            break;
        case Piece::Kind::Format: {
            const qsizetype start = out.size();
            if (!appendFormatted(piece, name, rowIndex, out) || out.size() == start)
                return false;
            m_tokens.emplace_back(start, out.size());
            break;
        }
        }
    }
    return true;
}

QStringView CompiledReplace::captured(const QString &name, int group) const
{
    const NativeRegex &groups = *m_groups->native;
    const qsizetype start = groups.start(group);
    return start < 0 ? QStringView() : QStringView(name).mid(start, groups.end(group) - start);
}

bool CompiledReplace::appendFormatted(const Piece &token, const QString &name, int rowIndex, QString &out) const
{
    // A lone capture is read where it stands.
    if (token.argument.size() == 1 && token.argument[0].kind == Piece::Kind::Group
        && appendZeroPadded(out, captured(name, token.argument[0].group), token.zeros))
        return true;
    // Without an operator the evaluator gives the argument back as it is.
    m_argument.resize(0);
    fill(token.argument, name, rowIndex, m_argument);
    // An operator would make the evaluator compute the argument.
    if (m_argument.isEmpty() || m_argument == ErrorMarker
        || std::any_of(m_argument.cbegin(), m_argument.cend(), isOperator))
        return false;
    if (appendZeroPadded(out, m_argument, token.zeros))
        return true;
    const QString formatted = ValueFormatter::format(m_argument, token.text);
    if (upsetsLaterSteps(formatted))
        return false;
    out += formatted;
    return true;
}

std::optional<QString> CompiledReplace::plannedName(const QString &name, int rowIndex) const
{
    if (!nameFits(name))
        return std::nullopt;
    ScriptError error;
    const NativeMatch::Status first = m_groups->native->search(name, 0, error);
    if (first == NativeMatch::Status::GaveUp)
        return std::nullopt;
    // Without a match the replace string goes through the steps unfilled and the name stays.
    if (first == NativeMatch::Status::NotFound)
        return m_mayReadAsError ? std::nullopt : std::optional<QString>(name);
    QString &replacement = m_replacement;
    replacement.resize(0);
    m_tokens.clear();
    if (!fill(m_pieces, name, rowIndex, replacement) || replacement == ErrorMarker)
        return std::nullopt;

    const NativeRegex &search = *m_replace->native;
    // The same search ignoring case has its first match already.
    bool matched = m_replace == m_groups;
    m_matches.clear();
    for (qsizetype from = 0; from <= name.size();) {
        if (!matched) {
            const NativeMatch::Status status = search.search(name, from, error);
            if (status == NativeMatch::Status::GaveUp)
                return std::nullopt;
            if (status == NativeMatch::Status::NotFound)
                break;
        }
        matched = false;
        const qsizetype start = search.start(0);
        const qsizetype end = search.end(0);
        m_matches.emplace_back(start, end);
        // An empty match moves on by one, as the script engine's global replace does.
        from = end == start ? end + 1 : end;
    }
    if (m_matches.empty())
        return name;
    // Built in one piece: the parts of the name between the matches, and the replacement for each.
    qsizetype size = name.size();
    for (const auto &[start, end] : m_matches)
        size += replacement.size() - (end - start);
    QString result(size, Qt::Uninitialized);
    QChar *to = result.data();
    qsizetype copied = 0;
    for (const auto &[start, end] : m_matches) {
        to = std::copy(name.constData() + copied, name.constData() + start, to);
        to = std::copy(replacement.cbegin(), replacement.cend(), to);
        copied = end;
    }
    std::copy(name.constData() + copied, name.constData() + name.size(), to);
    if (!m_tokens.empty() && blankBesideToken(result))
        return std::nullopt;
    return result;
}

// The per-row path takes the blanks beside a format token as part of it.
bool CompiledReplace::blankBesideToken(const QString &result) const
{
    const auto blankAt = [&result](qsizetype at) {
        return at >= 0 && at < result.size() && ScriptChars::isBlank(result[at]);
    };
    qsizetype shift = 0; // how far the name's text has moved by the replacements before
    for (const auto &[start, end] : m_matches) {
        const qsizetype copy = start + shift;
        for (const auto &[tokenStart, tokenEnd] : m_tokens) {
            if (blankAt(copy + tokenStart - 1) || blankAt(copy + tokenEnd))
                return true;
        }
        shift += m_replacement.size() - (end - start);
    }
    return false;
}
