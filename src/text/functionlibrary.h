#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

class FormulaEvaluator;
class RegexMatcher;
class UserChannel;

// The named functions of replace strings, as in left(<FileName>,3) or
// format(now(),"yyyy/mm/dd"). Calls are found case-insensitively, innermost
// first; a failing call shows the function error and becomes an empty text,
// and the whole expansion then fails.
class FunctionLibrary
{
public:
    FunctionLibrary(UserChannel &user, FormulaEvaluator &evaluator, RegexMatcher &matcher);

    // Every call expanded and every EscapeMarker removed; ErrorMarker after a
    // call or an argument has failed (its message has been shown).
    QString ExpandFunctions(const QString &text);
    // Every call expanded; escaped calls keep their marker.
    void ExpandCalls(QString &text);
    // The value of one call; the argument text itself for a name that is
    // recognised but not computed; empty after a reported failure.
    QString CallFunction(const QString &name, const QString &argumentText);

    static QStringList SplitArgs(const QString &text, const QString &separator, bool removeQuotes);
    // "X1F" and "&H1F" read as hexadecimal, anything else as a number.
    static std::optional<qint32> HexToLong(const QString &text);
    static int CountOf(const QString &text, const QString &searched, bool ignoreCase);

    // The names a call may use, in the order they are searched for.
    static const QStringList &FunctionNameList();
    // Stands in for the backslash of an escaped call during expansion.
    static const QString EscapeMarker;

private:
    using Computation = std::optional<QString> (*)(FunctionLibrary &library, const QStringList &arguments);
    // The computed functions by upper-case name: a function is added here.
    static const QHash<QString, Computation> &computations();
    void ExpandCalls(QString &text, int &budget);
    double nextRandom();
    // Shows the first failure of an expansion and marks the expansion failed.
    void failExpansion(const QString &message);

    UserChannel &m_user;
    FormulaEvaluator &m_evaluator;
    RegexMatcher &m_matcher;
    std::uint32_t m_random = 327680;
    bool m_failed = false; // of the expansion under way
};
