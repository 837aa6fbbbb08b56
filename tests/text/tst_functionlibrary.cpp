#include "platform/linuxfilesystem.h"
#include "scripteduserchannel.h"
#include "text/functionlibrary.h"
#include "text/textengine.h"

#include <QTest>

class TestFunctionLibrary : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void expand_data();
    void expand();
    void failures_data();
    void failures();
    void formatTokenIsLeftForReplace();
    void splitArgs_data();
    void splitArgs();
    void hexToLong();
    void randomSequence();

private:
    ScriptedUserChannel m_user;
    LinuxFileSystem m_files;
};

void TestFunctionLibrary::expand_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("lower-case name") << "left(abcdef,3)" << "abc";
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
    QTest::newRow("format date") << "FORMAT(2008/01/15,yyyy-mm-dd)" << "2008-01-15";
    QTest::newRow("dateserial carries") << "DATESERIAL(2008,13,1)" << "39814";
    QTest::newRow("val of text") << "VAL( 1 2abc)" << "12";
    QTest::newRow("contained name found first") << "GetPixelPoint(1.6,2)" << "GetPixelPo1";
    QTest::newRow("escaped twin after the call") << "LEN(abc)_\\LEN(abc)" << "3_LEN(abc)";
    QTest::newRow("marker text before a call") << "27ZZLEN(abc)" << "3";
    QTest::newRow("missing character counts two bytes") << "LENB(é)" << "2";
    QTest::newRow("missing character kept whole") << "LEFTB(café,5)|LEFTB(café,4)" << "café|caf";
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
    const QStringList lines = message.prompt.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[0], QStringLiteral("関数の呼び出し形式に不備があります！"));
    QCOMPARE(lines[2], QStringLiteral("関数名：") + name);
    QVERIFY(lines[3].startsWith(QStringLiteral("パラメータ：")));
}

void TestFunctionLibrary::formatTokenIsLeftForReplace()
{
    TextEngine engine(m_user, m_files);
    m_user.clear();
    QCOMPARE(engine.ExpandFunctions(QStringLiteral("<format($1,\"000\")>")), QStringLiteral("<format($1,\"000\")>"));
    QCOMPARE(engine.ExpandFunctions(QStringLiteral("< \tFORMAT(12,\"000\")>")), QStringLiteral("< \tFORMAT(12,\"000\")>"));
    QCOMPARE(engine.ExpandFunctions(QStringLiteral("a format(7,\"000\") <b")), QStringLiteral("a 007 <b"));
    // Calls inside the token are still expanded.
    QCOMPARE(engine.ExpandFunctions(QStringLiteral("<format(len(abcd),\"00\")>")), QStringLiteral("<format(4,\"00\")>"));
    // The whole way through a replace: zero-padded names.
    const QString replacement = engine.ExpandTemplate(QStringLiteral("<format($1,\"000\")>"), 1, QString());
    QCOMPARE(engine.RegReplace(QStringLiteral("track7"), QStringLiteral("(\\d+)"), replacement, true),
             QStringLiteral("track007"));
    QCOMPARE(m_user.messages.size(), 0);
}

void TestFunctionLibrary::splitArgs_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("removeQuotes");
    QTest::addColumn<QStringList>("pieces");
    QTest::newRow("plain") << "a,b , c" << true << QStringList{"a", "b ", " c"};
    QTest::newRow("quoted comma") << "\"a,b\",c" << true << QStringList{"a,b", "c"};
    QTest::newRow("quotes kept") << "\"a,b\",c" << false << QStringList{"\"a,b\"", "c"};
    QTest::newRow("doubled quote") << "\"a\"\"b\",c" << true << QStringList{"a\"b", "c"};
    QTest::newRow("trailing comma") << "a," << true << QStringList{"a", ""};
    QTest::newRow("unclosed quote protects the rest") << "\"a,b" << true << QStringList{"a,b"};
}

void TestFunctionLibrary::splitArgs()
{
    QFETCH(QString, text);
    QFETCH(bool, removeQuotes);
    QFETCH(QStringList, pieces);
    QCOMPARE(FunctionLibrary::SplitArgs(text, QString(), removeQuotes), pieces);
}

void TestFunctionLibrary::hexToLong()
{
    QCOMPARE(FunctionLibrary::HexToLong(QStringLiteral("x1f")), std::optional<qint32>(31));
    QCOMPARE(FunctionLibrary::HexToLong(QStringLiteral("&hFFFFFFFF")), std::optional<qint32>(-1));
    QCOMPARE(FunctionLibrary::HexToLong(QStringLiteral("2.5")), std::optional<qint32>(2));
    QVERIFY(!FunctionLibrary::HexToLong(QStringLiteral("xZZ")));
    QVERIFY(!FunctionLibrary::HexToLong(QStringLiteral("x123456789")));
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
