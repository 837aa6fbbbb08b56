#pragma once

#include <QString>

class UserChannel;

// The arithmetic of replace strings: numbers, parentheses and the operators
// * / + - && || == != on text. A text that is not an expression comes back
// unchanged, so the evaluator is safe for ordinary names.
class FormulaEvaluator
{
public:
    explicit FormulaEvaluator(UserChannel &user);

    // The computed text, the text itself, or ErrorMarker after a message for
    // unbalanced or non-numeric parenthesised parts and for an overflow.
    QString EvalFormula(const QString &text);
    // A text without parentheses; text is rewritten as operators are computed.
    QString EvalFlat(QString &text);

    static bool IsFormula(const QString &text);
    static bool IsDateText(const QString &text);
    static bool ConsistsOf(const QString &text, const QString &characters);

    // The result of a computation that overflowed.
    static QString overflowText();

private:
    UserChannel &m_user;
};
