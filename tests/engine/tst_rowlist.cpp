#include "engine/rows/listcommands.h"
#include "engine/rows/renamerowlist.h"
#include "engine/rows/sortstate.h"
#include "enginefixture.h"

#include <QTest>

namespace {

// Records what a view over the list would be told.
class Recorder : public RowListObserver
{
public:
    QStringList events;
    int rowCountSeen = -1;
    RenameRowList *list = nullptr;

    void rowsAboutToBeInserted(int first, int last) override
    {
        events << u"insert %1-%2"_qs.arg(first).arg(last);
        rowCountSeen = list->count();
    }
    void rowsInserted() override { events << u"inserted"_qs; }
    void rowsAboutToBeRemoved(int first, int last) override { events << u"remove %1-%2"_qs.arg(first).arg(last); }
    void rowsRemoved() override { events << u"removed"_qs; }
    void aboutToReset() override { events << u"reset?"_qs; }
    void reset() override { events << u"reset"_qs; }
    void rowsChanged(int first, int last) override { events << u"changed %1-%2"_qs.arg(first).arg(last); }
};

} // namespace

class TestRowList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void viewsAreToldBeforeAndAfter()
    {
        RenameRowList list;
        Recorder recorder;
        recorder.list = &list;
        list.setObserver(&recorder);
        list.append(RenameRow());
        QCOMPARE(recorder.rowCountSeen, 0);
        list.append(RenameRow());
        list.setSelected(2, true);
        list.setSelected(2, true);
        list.remove(1);
        list.clear();
        QCOMPARE(recorder.events, (QStringList{u"insert 1-1"_qs, u"inserted"_qs, u"insert 2-2"_qs, u"inserted"_qs,
                                               u"changed 2-2"_qs, u"remove 1-1"_qs, u"removed"_qs, u"reset?"_qs,
                                               u"reset"_qs}));
    }

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
        EngineFixture f;
        f.addRows(start);
        RenameRowList &rows = f.rows;
        for (int index : selected)
            rows.setSelected(index, true);
        QCOMPARE(ListCommands::moveSelected(rows, step), order != start);
        QCOMPARE(f.column(RenameField::CurrentName), order);
        QTEST(f.selectedRows(), "selectedAfter");
    }

    void copyText()
    {
        EngineFixture f;
        f.addRows({u"a"_qs, u"b"_qs});
        RenameRowList &rows = f.rows;
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
        QVERIFY(sizeKey(u"999"_qs) < sizeKey(u"1,234,567"_qs) && sizeKey(u"1,234,567"_qs) < sizeKey(u"2,000,000"_qs));
        QVERIFY(user.messages.isEmpty());
    }

    // A row keeps numbers and names where it can, yet every field reads back as set.
    void fieldsReadBackAsSet()
    {
        RenameRow row = RenameRow::listed(u"/data"_qs, u"a.txt"_qs, RenameRow::Unset, 0, 1234567);
        QCOMPARE(row[RenameField::Created], QString());
        QCOMPARE(row[RenameField::Size], u"1,234,567"_qs);
        QCOMPARE(row[RenameField::Path], u"/data/a.txt"_qs);
        for (const QString &text : {u"2019/05/05 05:05:05"_qs, u"2019/13/45 99:99:99"_qs, u" 12"_qs}) {
            row.set(RenameField::Modified, text);
            QCOMPARE(row[RenameField::Modified], text);
        }
        row.set(RenameField::Size, u"1,2"_qs);
        QCOMPARE(row[RenameField::Size], u"1,2"_qs);
        QCOMPARE(row[RenameField::Modified], u" 12"_qs);
        row.set(RenameField::TempName, u"/data/tmp00001_a.txt"_qs);
        row.set(RenameField::Path, u"/elsewhere/a.txt"_qs);
        row.setNameOnDisk(u"b.txt"_qs);
        QCOMPARE(row[RenameField::Path], u"/data/b.txt"_qs);
        QCOMPARE(row[RenameField::TempName], u"/data/tmp00001_a.txt"_qs);
        row.set(RenameField::TempName, u"/other/x"_qs);
        QCOMPARE(row[RenameField::TempName], u"/other/x"_qs);
    }
};

QTEST_GUILESS_MAIN(TestRowList)
#include "tst_rowlist.moc"
