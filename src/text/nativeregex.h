#pragma once

#include <QList>
#include <QString>

#include <memory>
#include <optional>

#include "text/scripthost.h"

struct pcre2_real_code_16;
struct pcre2_real_match_data_16;

// One attempt of a NativeRegex on a subject.
struct NativeMatch
{
    enum class Status { Found, NotFound, GaveUp };
    Status status = Status::NotFound;
    QList<qsizetype> offsets; // start and end of the match and of each group; -1 where a group did not take part
    ScriptError error;        // why the engine gave up

    QString captured(const QString &subject, int group) const;
};

// A regular expression that PCRE2 matches exactly as the script engine does.
// Only a common subset qualifies: literals, escaped punctuation,
// \d \D \w \W \s \S \b \B, classes, capturing and non-capturing groups,
// alternation, anchors and greedy or lazy quantifiers (a repeated capturing
// group only when it always takes a character and holds no other group); and
// only subjects without line breaks or surrogates (and, ignoring case, without
// the two letters Unicode folds onto "k" and "s"). Everything else goes to the
// script engine, whose result stays the definition.
//
// Unlike the script engine, PCRE2 says when a pattern needs more backtracking
// than its limits allow: such a match gives up visibly instead of passing for
// "no match".
class NativeRegex
{
public:
    // None when the pattern uses anything outside the subset.
    static std::optional<NativeRegex> compile(const QString &pattern, bool ignoreCase);
    static bool canMatch(const QString &subject, bool ignoreCase);

    NativeMatch match(const QString &subject, qsizetype from = 0) const;
    // The match at or after from without copying its offsets: start() and
    // end() read them until the next search (-1 for a group that took no part).
    NativeMatch::Status search(const QString &subject, qsizetype from, ScriptError &error) const;
    qsizetype start(int group) const;
    qsizetype end(int group) const;
    int captureCount() const { return m_groups; }

    // The script engine's global replace; none when the replacement holds a
    // $-token other than $1-$9 (of an existing group), $&, $`, $' or $$, or
    // when the engine gave up (error is set then).
    std::optional<QString> replaceAll(const QString &subject, const QString &replacement, ScriptError &error) const;

private:
    NativeRegex(std::shared_ptr<pcre2_real_code_16> code, std::shared_ptr<pcre2_real_match_data_16> data, int groups,
                bool jit)
        : m_code(std::move(code)), m_data(std::move(data)), m_groups(groups), m_jit(jit)
    {
    }

    std::shared_ptr<pcre2_real_code_16> m_code;
    std::shared_ptr<pcre2_real_match_data_16> m_data; // reused by every match: the text engines run on one thread
    int m_groups = 0;
    bool m_jit = false;
};
