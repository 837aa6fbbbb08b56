#pragma once

#include <QString>

class FormulaEvaluator;

// Expands the format tokens a replace leaves in its result:
// <format(expression, "pattern")>, with the blanks around the token.
class FormatTokenExpander
{
public:
    explicit FormatTokenExpander(FormulaEvaluator &evaluator);

    // At most 10 tokens; false when a token is malformed (the text is then
    // left as it stood). A value that fails to evaluate makes the text ErrorMarker.
    bool expand(QString &text);

    // The token patterns' first matches, scanned directly with the meaning
    // the script engine gives them (ignore case on): \<\s*format\( ,
    // (\s*<\s*format\(.+?,\s*".+?"\s*\)\s*>\s*) and \((.+?,.+?)\) ; empty
    // when there is no match.
    static QString tokenStart(const QString &text);
    static QString token(const QString &text);
    static QString tokenArguments(const QString &token);

private:
    FormulaEvaluator &m_evaluator;
};
