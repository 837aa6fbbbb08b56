#include "platform/linuxfilesystem.h"
#include "scripteduserchannel.h"
#include "text/functionlibrary.h"
#include "text/textengine.h"
#include "text/valueformatter.h"

#include <QTest>

class TestFunctionLibrary : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void expand_data();
    void expand();
    void failures_data();
    void failures();
    void format_data();
    void format();
    void splitArgs();
    void randomSequence();

private:
    ScriptedUserChannel m_user;
    LinuxFileSystem m_files;
};

void TestFunctionLibrary::expand_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("blank before searched text") << "REPLACE(abc, b, X)" << "abc";
    QTest::newRow("quoted comma") << "REPLACE(\"a,b\",\",\",-)" << "a-b";
    QTest::newRow("argument computed first") << "LEN(2008-01-15)" << "4";
    QTest::newRow("mod with sign of dividend") << "MOD(-7,3)" << "-1";
    QTest::newRow("not computed") << "GetPixel(1,2)" << "1,2";
    QTest::newRow("escaped") << "\\LEN(abc)" << "LEN(abc)";
    QTest::newRow("escaped twin stays") << "\\LEN(abc)LEN(abc)" << "LEN(abc)3";
    QTest::newRow("token twin stays") << "format(1,\"00\")<format(1,\"00\")>" << "01<format(1,\"00\")>";
    QTest::newRow("marker removed") << "a27ZZb" << "ab";
    QTest::newRow("inner call first") << "len(left(abcdef,2))" << "2";
    QTest::newRow("instr from") << "INSTR(abcabc,c,0,4)" << "6";
    QTest::newRow("instrrev from") << "INSTRREV(abcabc,c,5)" << "3";
    QTest::newRow("weekday") << "WEEKDAY(2008/01/15)" << "3";
    QTest::newRow("eleventh argument ignored") << "MAX(1,2,3,4,5,6,7,8,9,10,11)" << "2";
    QTest::newRow("unclosed call runs to the end") << "LEN(abc" << "3";
    QTest::newRow("mid without count") << "MID(abcdef,2)" << "";
    QTest::newRow("log") << "LOG(10)" << "2.302585093";
    QTest::newRow("hex negative") << "HEX(-1)" << "FFFFFFFF";
    QTest::newRow("lenb") << "LENB(aあ)" << "3";
    QTest::newRow("lenmbcs") << "LENMBCS(ｱあ)" << "3";
    QTest::newRow("leftb cuts a character") << "LEFTB(あいう,3)" << "あ";
    QTest::newRow("midb cuts both ends") << "MIDB(あいう,2,4)" << "い";
    QTest::newRow("asc double byte") << "ASC(あ)" << "-32096";
    QTest::newRow("chr double byte") << "CHR(-32096)" << "あ";
    QTest::newRow("strcomp ignoring case") << "STRCOMP(a,A,1)" << "0";
    QTest::newRow("proper") << "STRCONV(hello WORLD,3)" << "Hello World";
    QTest::newRow("wide") << "STRCONV(ab1,4)" << "ａｂ１";
    QTest::newRow("wide voiced kana") << "STRCONV(ｶﾞｷﾞ,4)" << "ガギ";
    QTest::newRow("narrow katakana from hiragana") << "STRCONV(が,24)" << "ｶﾞ";
    QTest::newRow("wide hiragana from narrow") << "STRCONV(ｶﾞ,36)" << "が";
    QTest::newRow("trim") << "TRIM(\"  a b  \")" << "a b";
    QTest::newRow("checkdata") << "CHECKDATA(ab12cd,(\\d+))" << "12";
    QTest::newRow("dateserial carries") << "DATESERIAL(2008,13,1)" << "39814";
    QTest::newRow("val of text") << "VAL( 1 2abc)" << "12";
    QTest::newRow("contained name found first") << "GetPixelPoint(1.6,2)" << "GetPixelPo1";
    QTest::newRow("escaped twin after the call") << "LEN(abc)_\\LEN(abc)" << "3_LEN(abc)";
    QTest::newRow("marker text before a call") << "27ZZLEN(abc)" << "3";
    QTest::newRow("missing character counts two bytes") << "LENB(é)" << "2";
    QTest::newRow("missing character kept whole") << "LEFTB(café,5)|LEFTB(café,4)" << "café|caf";
    QTest::newRow("hex with x") << "DEC(x1f)" << "31";
    QTest::newRow("hex with &h") << "DEC(&hFFFFFFFF)" << "-1";
    QTest::newRow("hex of a number") << "DEC(2.5)" << "2";
    QTest::newRow("format token left for the replace") << "<format($1,\"000\")>" << "<format($1,\"000\")>";
    QTest::newRow("token with blanks left") << "< \tFORMAT(12,\"000\")>" << "< \tFORMAT(12,\"000\")>";
    QTest::newRow("call beside a bracket") << "a format(7,\"000\") <b" << "a 007 <b";
    QTest::newRow("call inside a token") << "<format(len(abcd),\"00\")>" << "<format(4,\"00\")>";
    QTest::newRow("grouping skips literal digits") << "FORMAT(1234567,\"A1_#,##0\")" << "A1_1,234,567";
}

void TestFunctionLibrary::expand()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    TextEngine engine(m_user, m_files);
    m_user.clear();
    QCOMPARE(engine.ExpandFunctions(text), expected);
    QCOMPARE(m_user.messages.size(), 0);
}

void TestFunctionLibrary::failures_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");
    QTest::newRow("mod by zero") << "a MOD(7,0) b" << "mod";
    QTest::newRow("not a date") << "DAY(abc)" << "day";
    QTest::newRow("asc of empty") << "ASC()" << "asc";
    QTest::newRow("negative length") << "LEFT(abc,-1)" << "left";
    QTest::newRow("code without a character") << "CHR(128)" << "chr";
    QTest::newRow("code of a control character") << "CHR(26)" << "chr";
    QTest::newRow("character without a code") << "ASC(é)" << "asc";
    QTest::newRow("number beyond the range") << "VAL(1E400)" << "val";
    QTest::newRow("not hexadecimal") << "DEC(xZZ)" << "dec";
    QTest::newRow("hexadecimal beyond 32 bits") << "DEC(x123456789)" << "dec";
}

void TestFunctionLibrary::failures()
{
    QFETCH(QString, text);
    QFETCH(QString, name);
    TextEngine engine(m_user, m_files);
    m_user.clear();
    // The whole expansion fails, so that no name is made without the call.
    QCOMPARE(engine.ExpandFunctions(text), ErrorMarker);
    QCOMPARE(m_user.messages.size(), 1);
    const MessageRequest &message = m_user.messages[0];
    QCOMPARE(message.title, QStringLiteral("関数エラー"));
    QVERIFY(message.prompt.startsWith(QStringLiteral("関数の呼び出し形式に不備があります！\r\n\r\n関数名：") + name
                                      + QStringLiteral("\r\nパラメータ：")));
}

void TestFunctionLibrary::format_data()
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

void TestFunctionLibrary::format()
{
    QFETCH(QString, value);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    QCOMPARE(ValueFormatter::format(value, pattern), expected);
}

void TestFunctionLibrary::splitArgs()
{
    const auto split = [](const char *text, bool removeQuotes) {
        return FunctionLibrary::SplitArgs(QString::fromUtf8(text), QString(), removeQuotes);
    };
    QCOMPARE(split("a,b , c", true), (QStringList{"a", "b ", " c"}));
    QCOMPARE(split("\"a,b\",c", false), (QStringList{"\"a,b\"", "c"}));
    QCOMPARE(split("\"a\"\"b\",c", true), (QStringList{"a\"b", "c"}));
    QCOMPARE(split("a,", true), (QStringList{"a", ""}));
    // An unclosed quote protects the rest.
    QCOMPARE(split("\"a,b", true), QStringList{"a,b"});
}

void TestFunctionLibrary::randomSequence()
{
    TextEngine first(m_user, m_files);
    TextEngine second(m_user, m_files);
    // Identical call texts are replaced together, so both get one value.
    QCOMPARE(first.ExpandFunctions(QStringLiteral("RND()|RND()")), QStringLiteral("0.7055475|0.7055475"));
    QCOMPARE(first.ExpandFunctions(QStringLiteral("RND()")), QStringLiteral("0.533424"));
    QCOMPARE(first.ExpandFunctions(QStringLiteral("RND()")), QStringLiteral("0.5795186"));
    // Never reseeded: every engine starts the same sequence.
    QCOMPARE(second.ExpandFunctions(QStringLiteral("rnd()")), QStringLiteral("0.7055475"));
}

QTEST_GUILESS_MAIN(TestFunctionLibrary)
#include "tst_functionlibrary.moc"
