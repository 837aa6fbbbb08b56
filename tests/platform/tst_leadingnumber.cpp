#include "platform/leadingnumber.h"

#include <QTest>

#include <cmath>

// One reader of leading numbers, three sets of rules: the job's boxes, the
// expression language's arguments, and stored files' values.
class TestLeadingNumber : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rules_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("input");
        QTest::addColumn<double>("expression");
        QTest::addColumn<double>("stored");
        const double inf = HUGE_VAL;
        QTest::newRow("blanks inside") << " - 1 2.5x" << -12.5 << -12.5 << -12.5;
        QTest::newRow("no digits") << "+.e3" << 0.0 << 0.0 << 0.0;
        QTest::newRow("second point ends it") << "1.2.3" << 1.2 << 1.2 << 1.2;
        QTest::newRow("e exponent") << "2e3" << 2000.0 << 2000.0 << 2000.0;
        QTest::newRow("d exponent") << "2D3" << 2.0 << 2000.0 << 2000.0;
        QTest::newRow("blank in exponent") << "2e 3" << 2000.0 << 2000.0 << 2.0;
        QTest::newRow("exponent without digits") << "2e+" << 2.0 << 2.0 << 2.0;
        QTest::newRow("hexadecimal") << "&hFFFFFFFF" << 0.0 << -1.0 << 0.0;
        QTest::newRow("hexadecimal stops") << "&H1G" << 0.0 << 1.0 << 0.0;
        QTest::newRow("beyond range") << "-1e999" << 0.0 << -inf << -inf;
    }

    void rules()
    {
        QFETCH(QString, text);
        QTEST(LeadingNumber::ofInput(text), "input");
        QTEST(LeadingNumber::ofExpression(text), "expression");
        QTEST(LeadingNumber::ofStoredValue(text), "stored");
    }

    void wholeInputRoundsHalfToEven()
    {
        QCOMPARE(LeadingNumber::wholeOfInput(QStringLiteral("2.5")), qint64(2));
        QCOMPARE(LeadingNumber::wholeOfInput(QStringLiteral("3.5")), qint64(4));
        QCOMPARE(LeadingNumber::wholeOfInput(QStringLiteral("1e30")), qint64(9.2e18));
    }
};

QTEST_GUILESS_MAIN(TestLeadingNumber)
#include "tst_leadingnumber.moc"
