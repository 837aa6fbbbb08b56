#pragma once

#include <QRegularExpression>
#include <QString>

#include <optional>

// A regular expression that Qt's own engine matches exactly as the script
// engine does. Only a common subset qualifies: literals, escaped punctuation,
// \d \D \w \W \s \S \b \B, classes, capturing and non-capturing groups,
// alternation, anchors and greedy or lazy quantifiers; and only subjects
// without line breaks or surrogate pairs (and, ignoring case, without the two
// letters Unicode folds onto "k" and "s"). Everything else goes to the script
// engine, whose result stays the definition; this only saves its cost.
class NativeRegex
{
public:
    // None when the pattern uses anything outside the subset.
    static std::optional<NativeRegex> compile(const QString &pattern, bool ignoreCase);
    static bool canMatch(const QString &subject, bool ignoreCase);

    // The script engine's global replace; none when the replacement holds a
    // $-token other than $1-$9 (of an existing group), $&, $`, $' or $$.
    std::optional<QString> replaceAll(const QString &subject, const QString &replacement) const;
    // The first match, or an invalid one.
    QRegularExpressionMatch firstMatch(const QString &subject) const { return m_regex.match(subject); }
    int captureCount() const { return m_regex.captureCount(); }

private:
    explicit NativeRegex(QRegularExpression regex) : m_regex(std::move(regex)) {}

    QRegularExpression m_regex;
};
