#pragma once

#include <QString>

#include <memory>
#include <optional>

class ExifReader;
class FileSystem;
class LiteralShield;
class TagReader;
class UserChannel;

// The result text of a failed replace or evaluation. Callers compare a whole
// result with it and stop processing.
inline const QString ErrorMarker = QStringLiteral("##Error##");

// Corvane's text engines behind one shared service: the regular-expression
// replace on the JavaScript host, the match routines, the evaluator, the
// function library and template expansion. One instance serves a whole run;
// failures are reported through the user channel where the routine says so.
class TextEngine
{
public:
    TextEngine(UserChannel &user, const FileSystem &files);
    ~TextEngine();
    TextEngine(const TextEngine &) = delete;
    TextEngine &operator=(const TextEngine &) = delete;

    // The tag reader of the "<Title>"… placeholders; none means they expand to "".
    void setTagReader(TagReader *tags);
    // The reader of the "<ExifDateTime>"… placeholders; none means they expand to "".
    void setExifReader(ExifReader *exif);

    // A global ECMAScript replace with its $-tokens, then FormatToken expansion.
    // Shows the error message and returns ErrorMarker on failure.
    QString RegReplace(const QString &subject, const QString &pattern, const QString &replacement, bool ignoreCase);
    QString RegFirstMatch(const QString &subject, const QString &pattern, bool ignoreCase);
    QString RegReplaceIfMatch(const QString &subject, const QString &pattern, const QString &replacement,
                              bool ignoreCase);
    int RegFirstIndex(const QString &subject, const QString &pattern, bool ignoreCase);
    // The replacement with $1, $2, … filled from the first match; with a
    // shield, the groups go in shielded (see LiteralShield).
    QString ExpandSubMatches(const QString &subject, const QString &pattern, const QString &replacement,
                             bool ignoreCase, const LiteralShield *shield = nullptr);
    // Whether the search of RegReplace finds anything in subject, which may
    // hold the line breaks RegReplace refuses; true when the engine gave up.
    bool RegTest(const QString &subject, const QString &pattern, bool ignoreCase);
    // Why the engine cannot take pattern as a search ("1002 SyntaxError: …"),
    // for the search box while it is typed; empty when it can.
    QString PatternFault(const QString &pattern);
    // Whether pattern cannot be a search, said in RegReplace's own message
    // naming subject: a Try checks its search once, before any row.
    bool RejectSearch(const QString &subject, const QString &pattern, bool ignoreCase);

    QString EvalFormula(const QString &text);
    QString ExpandFunctions(const QString &text);
    // The replace string of one row: placeholders, functions, then expressions.
    QString ExpandTemplate(const QString &text, int rowIndex, const QString &path);
    // The planned name of a file-name replace row (sub-matches, "<FileName>",
    // ExpandTemplate, RegReplace) from the replace string taken apart once for
    // all rows; none where the row needs those steps one by one.
    std::optional<QString> CompiledReplaceName(const QString &name, const QString &search,
                                               const QString &replacement, bool ignoreCase, int rowIndex);

private:
    struct Private;
    std::unique_ptr<Private> d;
};
