#include "text/formattokenexpander.h"

#include "platform/pathtext.h"
#include "text/formulaevaluator.h"
#include "text/regexmatcher.h"
#include "text/valueformatter.h"

#include <QRegularExpression>

namespace {

// The token patterns as the script engine reads them (ignore case on).
const QString tokenStartPattern = QStringLiteral("\\<\\s*format\\(");
const QString tokenPattern = QStringLiteral("(\\s*<\\s*format\\(.+?,\\s*\".+?\"\\s*\\)\\s*>\\s*)");
const QString argumentsPattern = QStringLiteral("\\((.+?,.+?)\\)");

// The same patterns for the native engine: ECMAScript's \s, its "." (any but
// a line terminator) and its ASCII-only case folding of "format" spelled out.
QString native(const QString &pattern)
{
    QString result = pattern;
    result.replace(QStringLiteral("\\<"), QStringLiteral("<"));
    result.replace(QStringLiteral("\\s"),
                   QStringLiteral("[\\t\\n\\x{0B}\\f\\r \\x{A0}\\x{1680}\\x{2000}-\\x{200A}\\x{2028}\\x{2029}"
                                  "\\x{202F}\\x{205F}\\x{3000}\\x{FEFF}]"));
    result.replace(QStringLiteral("."), QStringLiteral("[^\\n\\r\\x{2028}\\x{2029}]"));
    result.replace(QStringLiteral("format"), QStringLiteral("[Ff][Oo][Rr][Mm][Aa][Tt]"));
    return result;
}

bool hasSurrogates(const QString &text)
{
    for (const QChar c : text) {
        if (c.isSurrogate())
            return true;
    }
    return false;
}

}

FormatTokenExpander::FormatTokenExpander(FormulaEvaluator &evaluator, RegexMatcher &matcher)
    : m_evaluator(evaluator), m_matcher(matcher)
{
}

// The first match (or its first group) of pattern number which.
QString FormatTokenExpander::firstMatch(const QString &subject, int which)
{
    const QString *patterns[] = {&tokenStartPattern, &tokenPattern, &argumentsPattern};
    // The native engine reads text as code points; only where surrogates could
    // make the two engines differ does the script engine answer.
    if (hasSurrogates(subject))
        return m_matcher.RegFirstMatch(subject, *patterns[which], true);
    static const QRegularExpression compiled[] = {QRegularExpression(native(tokenStartPattern)),
                                                  QRegularExpression(native(tokenPattern)),
                                                  QRegularExpression(native(argumentsPattern))};
    const QRegularExpressionMatch match = compiled[which].match(subject);
    if (!match.hasMatch())
        return {};
    return compiled[which].captureCount() > 0 ? match.captured(1) : match.captured(0);
}

bool FormatTokenExpander::expand(QString &text)
{
    for (int round = 0; round < 10; ++round) {
        if (!text.contains(u'<') || firstMatch(text, 0).isEmpty())
            return true;
        const QString token = firstMatch(text, 1);
        if (token.isEmpty())
            return false;
        const QStringList pieces = firstMatch(token, 2).split(u',');
        const QString value = m_evaluator.EvalFormula(pieces.value(0));
        const QString formatted = ValueFormatter::format(value, Unquote(pieces.value(1)));
        text.replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
        text.replace(token, formatted);
    }
    return true;
}
