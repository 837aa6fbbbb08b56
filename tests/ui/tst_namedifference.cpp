#include "ui/namedifference.h"

#include <QTest>

class TestNameDifference : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void markedRange_data();
    void markedRange();
};

void TestNameDifference::markedRange_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("planned");
    // start, removed code units of the current name, inserted ones of the planned name
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("removed");
    QTest::addColumn<int>("inserted");
    QTest::newRow("unchanged") << "a.txt" << "a.txt" << 5 << 0 << 0;
    QTest::newRow("insertion") << "a1.txt" << "a001.txt" << 1 << 0 << 2;
    QTest::newRow("insertion into a run of the same letter") << "aa" << "aaa" << 2 << 0 << 1;
    QTest::newRow("deletion") << "report v1 final.docx" << "report v1.docx" << 9 << 6 << 0;
    QTest::newRow("replacement") << "IMG_7.JPG" << "photo_7.JPG" << 0 << 3 << 5;
    QTest::newRow("whole name") << "abc" << "xyz" << 0 << 3 << 3;
    QTest::newRow("from empty") << "" << "new" << 0 << 0 << 3;
    QTest::newRow("Japanese") << "写真1.jpg" << "旅行写真1.jpg" << 0 << 0 << 2;
    QTest::newRow("Japanese inside") << "会議メモ_2024_7.txt" << "会議メモ_2024_007.txt" << 10 << 0 << 2;
    // U+1F600 and U+1F601 share their high surrogate, U+1F600 and U+20600 their low one.
    QTest::newRow("pair sharing its high half") << QStringLiteral("x\U0001F600y") << QStringLiteral("x\U0001F601y") << 1 << 2 << 2;
    QTest::newRow("pair sharing its low half") << QStringLiteral("\U0001F600y") << QStringLiteral("\U00020600y") << 0 << 2 << 2;
    QTest::newRow("pair inserted") << QStringLiteral("ab") << QStringLiteral("a\U0001F389b") << 1 << 0 << 2;
}

void TestNameDifference::markedRange()
{
    QFETCH(QString, current);
    QFETCH(QString, planned);
    QFETCH(int, start);
    QFETCH(int, removed);
    QFETCH(int, inserted);
    const NameDifference difference = NameDifference::between(current, planned);
    QCOMPARE(difference, (NameDifference{start, removed, inserted}));
    // What lies around the range is the same in both names.
    QCOMPARE(current.left(start), planned.left(start));
    QCOMPARE(current.mid(start + removed), planned.mid(start + inserted));
}

QTEST_APPLESS_MAIN(TestNameDifference)
#include "tst_namedifference.moc"
