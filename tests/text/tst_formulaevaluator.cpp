#include "scripteduserchannel.h"
#include "text/formulaevaluator.h"
#include "text/numbertext.h"
#include "text/textengine.h"

#include <QTest>

class TestFormulaEvaluator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void evalFormula_data();
    void evalFormula();
    void overflow();
    void evalFlatRewritesText();
    void isFormula_data();
    void isFormula();
    void numberText_data();
    void numberText();
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
    QCOMPARE(evaluator.EvalFormula(QStringLiteral("(1E+300*1E+300)+1")), ErrorMarker);
}

void TestFormulaEvaluator::evalFlatRewritesText()
{
    ScriptedUserChannel user;
    FormulaEvaluator evaluator(user);
    QString text = QStringLiteral("1+2*3");
    QCOMPARE(evaluator.EvalFlat(text), QStringLiteral("7"));
    QCOMPARE(text, QStringLiteral("7"));
    text = QStringLiteral("2*3+x");
    QCOMPARE(evaluator.EvalFlat(text), QStringLiteral("6"));
    QCOMPARE(text, QStringLiteral("6+x"));
}

void TestFormulaEvaluator::isFormula_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("formula");
    QTest::addColumn<bool>("date");
    QTest::newRow("sum") << "1+2" << true << false;
    QTest::newRow("invalid date is division") << "2008/13/45" << true << false;
    QTest::newRow("quoted date") << "\"2008/01/15\"" << false << true;
    QTest::newRow("time") << "10:30" << false << true;
    QTest::newRow("zero time") << "0:00" << false << false;
    QTest::newRow("blank separated numbers") << "1 2" << false << false;
    QTest::newRow("double blank") << "1  2" << true << false;
}

void TestFormulaEvaluator::isFormula()
{
    QFETCH(QString, text);
    QFETCH(bool, formula);
    QFETCH(bool, date);
    QCOMPARE(FormulaEvaluator::IsFormula(text), formula);
    QCOMPARE(FormulaEvaluator::IsDateText(text), date);
}

void TestFormulaEvaluator::numberText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("integer") << 123456789012345.0 << "123456789012345";
    QTest::newRow("sixteen digits") << 1234567890123456.0 << "1.23456789012346E+15";
    QTest::newRow("small") << 0.0001 << "0.0001";
    QTest::newRow("smaller") << 0.00001 << "1E-05";
}

void TestFormulaEvaluator::numberText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(NumberText::fromDouble(value), text);
}

QTEST_GUILESS_MAIN(TestFormulaEvaluator)
#include "tst_formulaevaluator.moc"
