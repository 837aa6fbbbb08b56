#include "scripteduserchannel.h"
#include "text/formulaevaluator.h"
#include "text/textengine.h"

#include <QTest>

class TestFormulaEvaluator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void evalFormula_data();
    void evalFormula();
    void overflow();
    void classification();
};

void TestFormulaEvaluator::evalFormula_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << "" << "";
    QTest::newRow("leading zeros kept") << "007" << "007";
    QTest::newRow("exponent kept") << "1E5" << "1E5";
    QTest::newRow("exponent sign is no operator") << "1E+5*2" << "200000";
    QTest::newRow("precedence") << "1+2*3" << "7";
    QTest::newRow("nested") << "((2+3)*(1+1))-1" << "9";
    QTest::newRow("sign after operator") << "2*-3" << "-6";
    QTest::newRow("not in set") << "3>2" << "3>2";
    QTest::newRow("date-like subtraction") << "2008-01-15" << "1992";
    QTest::newRow("two numbers") << "1 2" << "1 2";
    QTest::newRow("blanks around operator") << "1 + 2" << "3";
    QTest::newRow("unbalanced open") << "(1+2" << ErrorMarker;
    QTest::newRow("empty parentheses") << "()" << ErrorMarker;
    QTest::newRow("zero divisor") << "5/0" << "5/0";
    QTest::newRow("last value before zero divisor") << "1+2*3/0" << "6";
    QTest::newRow("equal") << "2+3==1+4" << "1";
    QTest::newRow("one level for logic") << "1==1&&2==2" << "0";
    QTest::newRow("textual equality") << "1.0==1" << "0";
    QTest::newRow("sign after two-character operator") << "-1==-1" << "1";
    QTest::newRow("missing operand") << "5-" << "5";
    QTest::newRow("two slashes read as a date") << "8/4/2" << "8/4/2";
    QTest::newRow("left to right") << "8/4*2" << "4";
    QTest::newRow("fifteen digits") << "1/3" << "0.333333333333333";
    QTest::newRow("large") << "1E+10*1E+10" << "1E+20";
    QTest::newRow("negative zero") << "0*-1" << "0";
    QTest::newRow("fifteen-digit integer") << "123456789012345*1" << "123456789012345";
    QTest::newRow("sixteen digits") << "1234567890123456*1" << "1.23456789012346E+15";
    QTest::newRow("small") << "0.0001*1" << "0.0001";
    QTest::newRow("smaller") << "0.00001*1" << "1E-05";
    QTest::newRow("overflow in parentheses") << "(1E+300*1E+300)+1" << ErrorMarker;
    QTest::newRow("lower-case e is text") << "1e5*2" << "1e5*2";
    QTest::newRow("single ampersand") << "1&2" << "1&2";
    QTest::newRow("non-numeric in parentheses") << "(1&2)" << ErrorMarker;
}

void TestFormulaEvaluator::evalFormula()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    ScriptedUserChannel user;
    FormulaEvaluator evaluator(user);
    QCOMPARE(evaluator.EvalFormula(text), expected);
    // A failed evaluation says why.
    QCOMPARE(user.messages.size(), expected == ErrorMarker ? 1 : 0);
}

void TestFormulaEvaluator::overflow()
{
    ScriptedUserChannel user;
    FormulaEvaluator evaluator(user);
    // The error text must never become part of a name.
    QCOMPARE(evaluator.EvalFormula(QStringLiteral("1E+300*1E+300")), ErrorMarker);
    QCOMPARE(user.messages.size(), 1);
    QCOMPARE(user.messages[0].title, QStringLiteral("Corvane"));
    QVERIFY(user.messages[0].prompt.startsWith(QStringLiteral("6 ")));
}

// Which texts the evaluator takes for a computation or for a date.
void TestFormulaEvaluator::classification()
{
    QVERIFY(FormulaEvaluator::IsFormula(QStringLiteral("2008/13/45"))); // no date, so a division
    QVERIFY(FormulaEvaluator::IsFormula(QStringLiteral("1  2")));
    QVERIFY(FormulaEvaluator::IsDateText(QStringLiteral("\"2008/01/15\"")));
    QVERIFY(FormulaEvaluator::IsDateText(QStringLiteral("10:30")));
    QVERIFY(!FormulaEvaluator::IsDateText(QStringLiteral("0:00")));
}

QTEST_GUILESS_MAIN(TestFormulaEvaluator)
#include "tst_formulaevaluator.moc"
