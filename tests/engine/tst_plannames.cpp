#include "engine/collisioncheck.h"
#include "engine/namecheck.h"
#include "engine/numericvalue.h"

#include <QTest>

#include <vector>

class TestPlanNames : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nameFaults_data();
    void nameFaults();
    void forbiddenMessageNamesThePath();
    void collisions_data();
    void collisions();
    void numericValue_data();
    void numericValue();
};

void TestPlanNames::nameFaults_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("fault");

    const QString empty = QStringLiteral("　置換後のファイル名が空白になります！");
    const QString dots = QStringLiteral("　「.」 のみは使用できません。");
    const QString forbidden = QStringLiteral("使用できない文字");
    QTest::newRow("ordinary") << "photo.jpg" << QString();
    QTest::newRow("empty") << QString() << empty;
    QTest::newRow("one dot") << "." << dots;
    QTest::newRow("two dots") << ".." << dots;
    QTest::newRow("letter before dots") << "a..." << QString();
    QTest::newRow("hidden file") << ".profile" << QString();
    QTest::newRow("blank") << " " << QString();
    for (const QChar c : QStringLiteral("/:*?\\|<>\""))
        QTest::newRow(qPrintable(QStringLiteral("char %1").arg(c))) << QStringLiteral("a%1b").arg(c) << forbidden;
    QTest::newRow("NUL") << QStringLiteral("a") + QChar(0) + QStringLiteral("b") << forbidden;
    QTest::newRow("dots and colon") << ".:" << forbidden;
}

void TestPlanNames::nameFaults()
{
    QFETCH(QString, name);
    QFETCH(QString, fault);
    const QString found = PlannedNameFault(QStringLiteral("/data"), name);
    if (fault.isEmpty())
        QVERIFY2(found.isEmpty(), qPrintable(found));
    else
        QVERIFY2(found.contains(fault), qPrintable(found));
}

void TestPlanNames::forbiddenMessageNamesThePath()
{
    QCOMPARE(PlannedNameFault(QStringLiteral("/home/ann/写真"), QStringLiteral("10:30.jpg")),
             QStringLiteral("/home/ann/写真/10:30.jpg\r\n"
                            "　　置換後の文字列にファイル名として使用できない文字が含まれます！\r\n"
                            "　　使用できない文字 ： /:*?\\|<>\"\r\n"));
    QCOMPARE(PlannedPath(QStringLiteral("/"), QStringLiteral("a")), QStringLiteral("/a"));
}

void TestPlanNames::collisions_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<std::vector<int>>("colliding");

    QTest::newRow("none") << QStringList{"/d/a", "/d/b"} << std::vector<int>{};
    QTest::newRow("case differs") << QStringList{"/d/A", "/d/a"} << std::vector<int>{};
    // Case variants sorting between two equal paths must not hide them.
    QTest::newRow("A a A") << QStringList{"/d/A", "/d/a", "/d/A"} << std::vector<int>{1, 3};
    QTest::newRow("a A b a") << QStringList{"/d/a", "/d/A", "/d/b", "/d/a"} << std::vector<int>{1, 4};
    QTest::newRow("two groups") << QStringList{"/d/x", "/d/X", "/d/X", "/d/x", "/d/x"}
        << std::vector<int>{1, 2, 3, 4, 5};
}

void TestPlanNames::collisions()
{
    QFETCH(QStringList, paths);
    QFETCH(std::vector<int>, colliding);
    QCOMPARE(CollidingPositions(std::vector<QString>(paths.begin(), paths.end())), colliding);
}

void TestPlanNames::numericValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("whole");

    QTest::newRow("padded") << "  1" << 1.0 << qint64(1);
    QTest::newRow("letters") << "abc" << 0.0 << qint64(0);
    QTest::newRow("prefix") << "12ab" << 12.0 << qint64(12);
    QTest::newRow("inner blank") << "1 2" << 12.0 << qint64(12);
    QTest::newRow("half to even") << "2.5" << 2.5 << qint64(2);
    QTest::newRow("half up to even") << "3.5" << 3.5 << qint64(4);
}

void TestPlanNames::numericValue()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QFETCH(qint64, whole);
    QCOMPARE(NumericValue(text), value);
    QCOMPARE(WholeValue(text), whole);
}

QTEST_GUILESS_MAIN(TestPlanNames)
#include "tst_plannames.moc"
