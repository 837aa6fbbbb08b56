#pragma once

#include <QString>

class FormulaEvaluator;
class RegexMatcher;

// Expands the format tokens a replace leaves in its result:
// <format(expression, "pattern")>, with the blanks around the token.
class FormatTokenExpander
{
public:
    FormatTokenExpander(FormulaEvaluator &evaluator, RegexMatcher &matcher);

    // At most 10 tokens; false when a token is malformed (the text is then
    // left as it stood).
    bool expand(QString &text);

private:
    QString firstMatch(const QString &subject, int which);

    FormulaEvaluator &m_evaluator;
    RegexMatcher &m_matcher;
};
