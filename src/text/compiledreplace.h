#pragma once

#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <vector>

class PatternCache;
struct CompiledPattern;

// The file-name replace of a whole run, its replace string taken apart once:
// text, capture references "$1"…"$9", "<FileName>", "Row()" and format tokens
// <format(argument,"pattern")>. A row then costs two PCRE2 searches and the
// filling in of what differs. The result is the per-row path's, step by step
// (sub-matches, "<FileName>", the template, the replace, the format tokens);
// it is only given where no step could react to the name: a name holding any
// character a step treats specially, and a replace string holding anything
// else, go the per-row path.
class CompiledReplace
{
public:
    // None when the search or the replace string leaves the compiled form.
    static std::optional<CompiledReplace> compile(PatternCache &patterns, const QString &search,
                                                  const QString &replacement, bool ignoreCase);

    // The planned name of the row named name at rowIndex; none sends it the per-row path.
    std::optional<QString> plannedName(const QString &name, int rowIndex) const;

    struct Piece
    {
        enum class Kind { Text, Group, Row, Name, Format };
        Kind kind = Kind::Text;
        QString text;                // the text, or the pattern of a format token
        int group = 0;               // of a capture reference
        std::vector<Piece> argument; // of a format token
        int zeros = 0;               // of a format token whose pattern is zeros only: how many
    };

private:
    bool nameFits(const QString &name) const;
    // Appends the pieces filled in for this row; false where the per-row path must decide.
    bool fill(const std::vector<Piece> &pieces, const QString &name, int rowIndex, QString &out) const;
    QStringView captured(const QString &name, int group) const;
    bool blankBesideToken(const QString &result) const;
    bool appendFormatted(const Piece &token, const QString &name, int rowIndex, QString &out) const;

    std::shared_ptr<const CompiledPattern> m_groups;  // the search ignoring case, for the references
    std::shared_ptr<const CompiledPattern> m_replace; // the search as the run's option says
    std::vector<Piece> m_pieces;
    bool m_mayReadAsError = false; // the replace string unfilled may spell ErrorMarker, which fails a row
    std::array<bool, 128> m_refusedAscii{}; // the characters of a name that send it the per-row path
    // Reused by every row: the text engines run on one thread.
    mutable QString m_replacement;
    mutable QString m_argument;
    mutable std::vector<std::pair<qsizetype, qsizetype>> m_matches; // start and end of each
    mutable std::vector<std::pair<qsizetype, qsizetype>> m_tokens;  // each formatted token in the replacement
};
