#include "engine/listcommands.h"
#include "engine/sortstate.h"
#include "planfixture.h"

#include <QTest>

namespace {

RenameRowList listOf(const QStringList &names)
{
    RenameRowList rows;
    for (const QString &name : names)
        rows.append(listedRow(name));
    return rows;
}

} // namespace

class TestListCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void move_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QStringList>("order");
        QTest::addColumn<QList<int>>("selectedAfter");
        QTest::newRow("first row stops the rest") << -1 << QList<int>{1, 3} << QStringList{"a", "b", "c", "d"}
                                                  << QList<int>{1, 3};
        QTest::newRow("block moves up") << -1 << QList<int>{2, 3} << QStringList{"b", "c", "a", "d"} << QList<int>{1, 2};
        QTest::newRow("block moves down") << +1 << QList<int>{1, 2} << QStringList{"c", "a", "b", "d"} << QList<int>{2, 3};
    }

    void move()
    {
        QFETCH(int, step);
        QFETCH(QList<int>, selected);
        QFETCH(QStringList, order);
        const QStringList start{u"a"_qs, u"b"_qs, u"c"_qs, u"d"_qs};
        RenameRowList rows = listOf(start);
        for (int index : selected)
            rows.setSelected(index, true);
        QCOMPARE(ListCommands::moveSelected(rows, step), order != start);
        QCOMPARE(columnOf(rows, RenameField::CurrentName), order);
        QTEST(selectedOf(rows), "selectedAfter");
    }

    void copyText()
    {
        RenameRowList rows = listOf({u"a"_qs, u"b"_qs});
        const QStringList headers = {u"H0"_qs, u"H1"_qs, u"H2"_qs};
        QCOMPARE(ListCommands::copyText(rows, headers, 3), u"H0\tH1\tH2\t\r\n"_qs);
        rows.setSelected(2, true);
        QCOMPARE(ListCommands::copyText(rows, headers, 3), u"H0\tH1\tH2\t\r\nb\tb\t2019/05/05 05:05:05\t\r\n"_qs);
    }

    // Moving rows by hand leaves the list unsorted: the next click sorts ascending.
    void sortStartsAfreshAfterAMove()
    {
        SortState state;
        QVERIFY(!state.click(3));
        state.forget();
        QVERIFY(!state.click(3));
    }

    void sizesSortAsNumbers()
    {
        ScriptedUserChannel user;
        LinuxFileSystem files;
        TextEngine text(user, files);
        const auto sizeKey = [&](const QString &size) { return SortState::sortKey(text, size, false); };
        QVERIFY(sizeKey(u"999"_qs) < sizeKey(u"1,234,567"_qs));
        QVERIFY(sizeKey(u"1,234,567"_qs) < sizeKey(u"2,000,000"_qs));
        QVERIFY(user.messages.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestListCommands)
#include "tst_listcommands.moc"
