#include "text/valueformatter.h"

#include <QTest>

class TestValueFormatter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void format_data();
    void format();
};

void TestValueFormatter::format_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero padded") << "7" << "000" << "007";
    QTest::newRow("negative padded") << "-7" << "000" << "-007";
    QTest::newRow("rounds half away from zero") << "2.5" << "0" << "3";
    QTest::newRow("optional decimals") << "3.14159265358979" << "0.##########" << "3.1415926536";
    QTest::newRow("optional decimals dropped with point") << "1" << "0.##########" << "1";
    QTest::newRow("hash drops leading zero") << "0.5" << "#.00" << ".50";
    QTest::newRow("no integer placeholder") << "12.5" << ".00" << "12.50";
    QTest::newRow("thousands") << "1234567" << "#,##0" << "1,234,567";
    QTest::newRow("scaling comma") << "1234567" << "0," << "1235";
    QTest::newRow("percent") << "0.256" << "0.0%" << "25.6%";
    QTest::newRow("exponent") << "12345" << "0.00E+00" << "1.23E+04";
    QTest::newRow("literal text") << "5" << "\"No.\"000" << "No.005";
    QTest::newRow("escaped character") << "5" << "\\#0" << "#5";
    QTest::newRow("negative section") << "-5" << "0;(0)" << "(5)";
    QTest::newRow("zero section") << "0" << "0;-0;\"zero\"" << "zero";
    QTest::newRow("rounded to zero shows zero section") << "0.001" << "0.0;-0.0;\"none\"" << "none";
    QTest::newRow("not a number") << "abc" << "000" << "abc";
    QTest::newRow("date") << "2008/01/15 13:05:09" << "yyyy/mm/dd hh:mm:ss" << "2008/01/15 13:05:09";
    QTest::newRow("short codes") << "2008/01/05 03:04:09" << "yy/m/d h:n:s" << "08/1/5 3:4:9";
    QTest::newRow("names") << "2008/01/15" << "ddd mmm dddd mmmm" << "Tue Jan Tuesday January";
    QTest::newRow("serial number as date") << "39462.5" << "yyyy/mm/dd hh:mm" << "2008/01/15 12:00";
    QTest::newRow("minutes before seconds") << "13:05:09" << "mm:ss" << "05:09";
    QTest::newRow("twelve hours") << "13:05" << "h:nn AM/PM" << "1:05 PM";
    QTest::newRow("quoted date text") << "2008/01/15" << "yyyy\"年\"m\"月\"d\"日\"" << "2008年1月15日";
    QTest::newRow("text with date pattern") << "abc" << "yyyy" << "abc";
}

void TestValueFormatter::format()
{
    QFETCH(QString, value);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    QCOMPARE(ValueFormatter::format(value, pattern), expected);
}

QTEST_GUILESS_MAIN(TestValueFormatter)
#include "tst_valueformatter.moc"
