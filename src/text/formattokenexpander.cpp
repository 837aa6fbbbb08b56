#include "text/formattokenexpander.h"

#include "platform/pathtext.h"
#include "text/asciitext.h"
#include "text/formulaevaluator.h"
#include "text/scriptchars.h"
#include "text/textengine.h"
#include "text/valueformatter.h"

#include <QStringList>

// The scanners below follow the patterns' backtracking order exactly: the
// leftmost start, lazy ".+?" trying the shortest text first. They read UTF-16
// code units, as the script engine's patterns without the unicode flag do.
namespace {

qsizetype skipBlanks(const QString &text, qsizetype at)
{
    while (at < text.size() && ScriptChars::isBlank(text[at]))
        ++at;
    return at;
}

bool charAt(const QString &text, qsizetype at, char16_t c)
{
    return at < text.size() && text[at] == c;
}

// After "<" at open: blanks and "format(" in any ASCII case; the position
// after the "(", or -1.
qsizetype afterFormatOpening(const QString &text, qsizetype open)
{
    static const QString word = QStringLiteral("format(");
    const qsizetype at = skipBlanks(text, open + 1);
    if (AsciiText::indexOf(text.mid(at, word.size()), word) != 0)
        return -1;
    return at + word.size();
}

// The end of \s*"(.+?)"\s*\)\s*>\s* from the first blank at from, or -1.
qsizetype endOfPatternPart(const QString &text, qsizetype from)
{
    const qsizetype quote = skipBlanks(text, from);
    if (!charAt(text, quote, u'"'))
        return -1;
    for (qsizetype close = quote + 2; close < text.size(); ++close) {
        if (ScriptChars::isLineTerminator(text[close - 1]))
            return -1;
        if (text[close] != u'"')
            continue;
        const qsizetype paren = skipBlanks(text, close + 1);
        if (!charAt(text, paren, u')'))
            continue;
        const qsizetype angle = skipBlanks(text, paren + 1);
        if (charAt(text, angle, u'>'))
            return skipBlanks(text, angle + 1);
    }
    return -1;
}

}

FormatTokenExpander::FormatTokenExpander(FormulaEvaluator &evaluator)
    : m_evaluator(evaluator)
{
}

QString FormatTokenExpander::tokenStart(const QString &text)
{
    for (qsizetype open = text.indexOf(u'<'); open >= 0; open = text.indexOf(u'<', open + 1)) {
        const qsizetype end = afterFormatOpening(text, open);
        if (end >= 0)
            return text.mid(open, end - open);
    }
    return {};
}

QString FormatTokenExpander::token(const QString &text)
{
    for (qsizetype open = text.indexOf(u'<'); open >= 0; open = text.indexOf(u'<', open + 1)) {
        const qsizetype body = afterFormatOpening(text, open);
        if (body < 0)
            continue;
        for (qsizetype comma = body + 1; comma < text.size(); ++comma) {
            if (ScriptChars::isLineTerminator(text[comma - 1]))
                break;
            if (text[comma] != u',')
                continue;
            const qsizetype end = endOfPatternPart(text, comma + 1);
            if (end < 0)
                continue;
            qsizetype start = open;
            while (start > 0 && ScriptChars::isBlank(text[start - 1]))
                --start;
            return text.mid(start, end - start);
        }
    }
    return {};
}

QString FormatTokenExpander::tokenArguments(const QString &token)
{
    for (qsizetype open = token.indexOf(u'('); open >= 0; open = token.indexOf(u'(', open + 1)) {
        for (qsizetype comma = open + 2; comma < token.size(); ++comma) {
            if (ScriptChars::isLineTerminator(token[comma - 1]))
                break;
            if (token[comma] != u',')
                continue;
            for (qsizetype close = comma + 2; close < token.size(); ++close) {
                if (ScriptChars::isLineTerminator(token[close - 1]))
                    break;
                if (token[close] == u')')
                    return token.mid(open + 1, close - open - 1);
            }
        }
    }
    return {};
}

bool FormatTokenExpander::expand(QString &text)
{
    for (int round = 0; round < 10; ++round) {
        if (!text.contains(u'<') || tokenStart(text).isEmpty())
            return true;
        const QString found = token(text);
        if (found.isEmpty())
            return false;
        const QStringList pieces = tokenArguments(found).split(u',');
        const QString value = m_evaluator.EvalFormula(pieces.value(0));
        if (value == ErrorMarker) {
            // The evaluator has said why; the marker must not end up inside the name.
            text = ErrorMarker;
            return true;
        }
        const QString formatted = ValueFormatter::format(value, Unquote(pieces.value(1)));
        text.replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
        text.replace(found, formatted);
    }
    return true;
}
