#include "platform/displaytext.h"
#include "platform/pathtext.h"

#include <QTest>

class TestPathText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void extensionOf_data();
    void extensionOf();
    void unquote_data();
    void unquote();
    void joinAndSplit();
    void dateText();
    void sizeText();
    void progressStep_data();
    void progressStep();
};

void TestPathText::extensionOf_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("extension");
    QTest::newRow("plain") << "/home/a/song.mp3" << "mp3";
    QTest::newRow("four characters") << "/a/page.html" << "html";
    QTest::newRow("five characters is none") << "/a/movie.mpeg4" << "";
    QTest::newRow("dot in folder, short") << "/a/b.txt/name" << "";
    QTest::newRow("backslash after dot") << "a.b\\name" << "";
    QTest::newRow("trailing dot") << "/a/name." << "";
    QTest::newRow("last dot counts") << "archive.tar.gz" << "gz";
    QTest::newRow("enclosing blank") << "b.jpeg " << "jpeg";
    QTest::newRow("enclosing quotes") << "\"c.txt\"" << "txt";
}

void TestPathText::extensionOf()
{
    QFETCH(QString, path);
    QFETCH(QString, extension);
    QCOMPARE(ExtensionOf(path), extension);
}

void TestPathText::unquote_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result");
    QTest::newRow("quoted") << "\"/a b/c\"" << "/a b/c";
    QTest::newRow("nested with blanks") << " \" \"x y\" \" " << "x y";
    QTest::newRow("lone quote stays") << "\"" << "\"";
    QTest::newRow("empty quotes") << "\"\"" << "";
}

void TestPathText::unquote()
{
    QFETCH(QString, text);
    QFETCH(QString, result);
    QCOMPARE(Unquote(text), result);
}

void TestPathText::joinAndSplit()
{
    QCOMPARE(JoinPath(QString(), QStringLiteral("a")), QString());
    QCOMPARE(JoinPath(QStringLiteral("/x/"), QStringLiteral("a")), QStringLiteral("/x/a"));
    QCOMPARE(JoinPath(QStringLiteral("/"), QStringLiteral("a")), QStringLiteral("/a"));

    QCOMPARE(FileNameOf(QStringLiteral("/x/y/z.txt")), QStringLiteral("z.txt"));
    QCOMPARE(FolderOf(QStringLiteral(" \"/x/y/z.txt\" ")), QStringLiteral("/x/y"));
    // An item in the root folder keeps "/" so that joining it again works.
    QCOMPARE(FolderOf(QStringLiteral("/z.txt")), QStringLiteral("/"));
    QCOMPARE(JoinPath(FolderOf(QStringLiteral("/z.txt")), QStringLiteral("z.txt")), QStringLiteral("/z.txt"));
    QCOMPARE(FolderOf(QStringLiteral("z.txt")), QStringLiteral("z.txt"));
}

void TestPathText::dateText()
{
    const QDateTime time(QDate(2009, 3, 7), QTime(18, 5, 9));
    QCOMPARE(DateText(time), QStringLiteral("2009/03/07 18:05:09"));
    QCOMPARE(ParseDateText(QStringLiteral("2009/03/07 18:05:09")), time);
    QCOMPARE(DateText(QDateTime()), QString());
    QVERIFY(!ParseDateText(QStringLiteral("2009/13/07 18:05:09")).isValid());
}

void TestPathText::sizeText()
{
    QCOMPARE(SizeText(999), QStringLiteral("999"));
    QCOMPARE(SizeText(1000), QStringLiteral("1,000"));
    QCOMPARE(ParseSizeText(QStringLiteral("1,234,567")), 1234567);
}

void TestPathText::progressStep_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("step");
    QTest::newRow("empty") << 0 << 1;
    QTest::newRow("45 rounds down") << 45 << 2;
    QTest::newRow("50 half to even") << 50 << 2;
    QTest::newRow("70 half to even") << 70 << 4;
    QTest::newRow("100000") << 100000 << 5000;
}

void TestPathText::progressStep()
{
    QFETCH(int, rows);
    QFETCH(int, step);
    QCOMPARE(ProgressStep(rows), step);
}

QTEST_GUILESS_MAIN(TestPathText)
#include "tst_pathtext.moc"
