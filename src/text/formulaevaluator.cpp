#include "text/formulaevaluator.h"

#include "platform/pathtext.h"
#include "platform/showmessage.h"
#include "text/dateserial.h"
#include "text/numbertext.h"
#include "text/textengine.h"

#include <QList>

#include <cmath>

namespace {

const QString expressionCharacters = QStringLiteral("0123456789E*/+-.()|&=!E ");
const QString operatorCharacters = QStringLiteral("*/+-|&=!");

struct OperatorEntry
{
    qsizetype position = 0; // 0-based start
    qsizetype length = 0;
    QChar symbol;

    int level() const
    {
        if (symbol == u'*' || symbol == u'/')
            return 1;
        return symbol == u'+' || symbol == u'-' ? 2 : 3;
    }
};

QList<OperatorEntry> scanOperators(const QString &text)
{
    QList<OperatorEntry> found;
    for (qsizetype i = 1; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'*' || c == u'/') {
            found.append({i, 1, c});
        } else if (c == u'+' || c == u'-') {
            const QChar before = text[i - 1];
            if (before != u'E' && before != u'*' && before != u'/' && before != u'(')
                found.append({i, 1, c});
        } else if (i + 1 < text.size()) {
            const QStringView pair = QStringView(text).mid(i, 2);
            if (pair == u"&&" || pair == u"||" || pair == u"==" || pair == u"!=") {
                found.append({i, 2, c});
                i += 2; // the character after a two-character operator is never an operator
            }
        }
    }
    return found;
}

bool truth(const QString &operand)
{
    return !operand.isEmpty() && NumberText::toDouble(operand) != 0;
}

}

FormulaEvaluator::FormulaEvaluator(UserChannel &user)
    : m_user(user)
{
}

QString FormulaEvaluator::overflowText()
{
    return QStringLiteral("エラー！");
}

bool FormulaEvaluator::ConsistsOf(const QString &text, const QString &characters)
{
    for (const QChar c : text) {
        if (!characters.contains(c))
            return false;
    }
    return true;
}

bool FormulaEvaluator::IsDateText(const QString &text)
{
    const QString value = Unquote(text);
    QDateTime time;
    const qsizetype slashes = value.count(u'/');
    if (slashes == 2 || (slashes == 0 && value.contains(u':'))) {
        if (DateSerial::parse(value, time))
            return DateSerial::fromDateTime(time) != 0;
    }
    return false;
}

bool FormulaEvaluator::IsFormula(const QString &text)
{
    if (!ConsistsOf(text, expressionCharacters))
        return false;
    if ((text.contains(u'/') || text.contains(u':')) && IsDateText(text))
        return false;
    if (!text.contains(u' '))
        return true;
    const QStringList pieces = text.split(u' ');
    for (qsizetype i = 0; i + 1 < pieces.size(); ++i) {
        const QString a = pieces[i].trimmed();
        const QString b = pieces[i + 1].trimmed();
        const bool aEndsWithOperator = a.isEmpty() || operatorCharacters.contains(a.back());
        const bool bStartsWithOperator = b.isEmpty() || operatorCharacters.contains(b.front());
        if (!aEndsWithOperator && !bStartsWithOperator)
            return false;
    }
    return true;
}

QString FormulaEvaluator::EvalFlat(QString &text)
{
    QString result = text;
    for (;;) {
        const QList<OperatorEntry> operators = scanOperators(text);
        if (operators.isEmpty())
            return result;
        qsizetype chosen = 0;
        for (int level = 1; level <= 3; ++level) {
            const auto it = std::find_if(operators.cbegin(), operators.cend(),
                                         [level](const OperatorEntry &entry) { return entry.level() == level; });
            if (it != operators.cend()) {
                chosen = it - operators.cbegin();
                break;
            }
        }
        const OperatorEntry &op = operators[chosen];
        const qsizetype leftStart = chosen == 0 ? 0 : operators[chosen - 1].position + operators[chosen - 1].length;
        const qsizetype rightStart = op.position + op.length;
        const qsizetype rightEnd = chosen + 1 < operators.size() ? operators[chosen + 1].position : text.size();
        const QString left = text.mid(leftStart, op.position - leftStart).trimmed();
        const QString right = text.mid(rightStart, rightEnd - rightStart).trimmed();
        if ((!left.isEmpty() && !NumberText::isNumber(left)) || (!right.isEmpty() && !NumberText::isNumber(right)))
            return result;
        const double a = left.isEmpty() ? 0 : NumberText::toDouble(left);
        const double b = right.isEmpty() ? 0 : NumberText::toDouble(right);
        QString value;
        const QStringView symbol = QStringView(text).mid(op.position, op.length);
        if (op.level() < 3) {
            double number = 0;
            if (symbol == u"*") {
                number = a * b;
            } else if (symbol == u"/") {
                if (b == 0)
                    return result;
                number = a / b;
            } else {
                number = symbol == u"+" ? a + b : a - b;
            }
            if (!std::isfinite(number)) {
                ShowMessage(m_user, QStringLiteral("6 オーバーフローしました。"));
                text = overflowText();
                return text;
            }
            value = NumberText::fromDouble(number);
        } else if (symbol == u"&&") {
            value = truth(left) && truth(right) ? QStringLiteral("1") : QStringLiteral("0");
        } else if (symbol == u"||") {
            value = truth(left) || truth(right) ? QStringLiteral("1") : QStringLiteral("0");
        } else {
            const bool equal = left == right;
            value = equal == (symbol == u"==") ? QStringLiteral("1") : QStringLiteral("0");
        }
        result = value;
        text = text.left(leftStart) + value + text.mid(rightEnd);
    }
}

QString FormulaEvaluator::EvalFormula(const QString &input)
{
    if (input.isEmpty() || !IsFormula(input))
        return input;
    QString text = input;
    for (;;) {
        const qsizetype open = text.lastIndexOf(u'(');
        if (open < 0) {
            const QString value = EvalFlat(text);
            // The overflow message has been shown; its text must not become part of a name.
            return value == overflowText() ? ErrorMarker : value;
        }
        const qsizetype close = text.indexOf(u')', open);
        QString inner = close < 0 ? QString() : text.mid(open + 1, close - open - 1);
        const QString value = close < 0 ? QString() : EvalFlat(inner);
        if (value == overflowText())
            return ErrorMarker;
        if (!NumberText::isNumber(value)) {
            ShowMessage(m_user, QStringLiteral("計算式を計算できません！（括弧の対応か、括弧の中の値が不正です）\r\n\r\n式：") + input);
            return ErrorMarker;
        }
        text = text.left(open) + NumberText::fromDouble(NumberText::toDouble(value)) + text.mid(close + 1);
    }
}
