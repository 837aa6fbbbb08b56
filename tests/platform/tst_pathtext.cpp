#include "platform/displaytext.h"
#include "platform/pathtext.h"

#include <QTest>

class TestPathText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void extensionOf_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("extension");
        QTest::newRow("four characters") << "/a/page.html" << "html";
        QTest::newRow("five characters is none") << "/a/movie.mpeg4" << "";
        QTest::newRow("dot in folder, short") << "/a/b.txt/name" << "";
        QTest::newRow("backslash after dot") << "a.b\\name" << "";
        QTest::newRow("trailing dot") << "/a/name." << "";
        QTest::newRow("last dot counts") << "archive.tar.gz" << "gz";
        QTest::newRow("enclosing blank") << "b.jpeg " << "jpeg";
        QTest::newRow("enclosing quotes") << "\"c.txt\"" << "txt";
    }

    void extensionOf()
    {
        QFETCH(QString, path);
        QFETCH(QString, extension);
        QCOMPARE(ExtensionOf(path), extension);
    }

    void unquote()
    {
        QCOMPARE(Unquote(QStringLiteral("\"/a b/c\"")), QStringLiteral("/a b/c"));
        QCOMPARE(Unquote(QStringLiteral(" \" \"x y\" \" ")), QStringLiteral("x y"));
        QCOMPARE(Unquote(QStringLiteral("\"")), QStringLiteral("\""));
        QCOMPARE(Unquote(QStringLiteral("\"\"")), QString());
    }

    void joinAndSplit()
    {
        QCOMPARE(JoinPath(QString(), QStringLiteral("a")), QString());
        QCOMPARE(JoinPath(QStringLiteral("/x/"), QStringLiteral("a")), QStringLiteral("/x/a"));

        QCOMPARE(FileNameOf(QStringLiteral("/x/y/z.txt")), QStringLiteral("z.txt"));
        QCOMPARE(FolderOf(QStringLiteral(" \"/x/y/z.txt\" ")), QStringLiteral("/x/y"));
        // An item in the root folder keeps "/" so that joining it again works.
        QCOMPARE(FolderOf(QStringLiteral("/z.txt")), QStringLiteral("/"));
        QCOMPARE(JoinPath(FolderOf(QStringLiteral("/z.txt")), QStringLiteral("z.txt")), QStringLiteral("/z.txt"));
        QCOMPARE(FolderOf(QStringLiteral("z.txt")), QStringLiteral("z.txt"));
    }

    void dateAndSizeText()
    {
        const QDateTime time(QDate(2009, 3, 7), QTime(18, 5, 9));
        QCOMPARE(DateText(time), QStringLiteral("2009/03/07 18:05:09"));
        QCOMPARE(ParseDateText(QStringLiteral("2009/03/07 18:05:09")), time);
        QCOMPARE(DateText(QDateTime()), QString());
        QVERIFY(!ParseDateText(QStringLiteral("2009/13/07 18:05:09")).isValid());
        QCOMPARE(SizeText(999), QStringLiteral("999"));
        QCOMPARE(SizeText(1000), QStringLiteral("1,000"));
        QCOMPARE(ParseSizeText(QStringLiteral("1,234,567")), 1234567);
    }

    // max(1, rows / 20), halves to the even neighbour.
    void progressStep()
    {
        QCOMPARE(ProgressStep(0), 1);
        QCOMPARE(ProgressStep(45), 2);
        QCOMPARE(ProgressStep(50), 2);
        QCOMPARE(ProgressStep(70), 4);
        QCOMPARE(ProgressStep(100000), 5000);
    }
};

QTEST_GUILESS_MAIN(TestPathText)
#include "tst_pathtext.moc"
