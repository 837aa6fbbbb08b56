#include "engine/inputhistory.h"
#include "engine/jobkind.h"
#include "engine/renamerowlist.h"
#include "engine/runoptions.h"

#include <QTest>

namespace {

RenameRow fileRow(const QString &name)
{
    RenameRow row;
    row[RenameField::NewName] = name;
    row[RenameField::CurrentName] = name;
    row[RenameField::Folder] = QStringLiteral("/data");
    return row;
}

// Records what a view over the list would be told.
class Recorder : public RowListObserver
{
public:
    QStringList events;
    int rowCountSeen = -1;
    RenameRowList *list = nullptr;

    void rowsAboutToBeInserted(int first, int last) override
    {
        events << QStringLiteral("insert %1-%2").arg(first).arg(last);
        rowCountSeen = list->count();
    }
    void rowsInserted() override { events << QStringLiteral("inserted"); }
    void rowsAboutToBeRemoved(int first, int last) override
    {
        events << QStringLiteral("remove %1-%2").arg(first).arg(last);
    }
    void rowsRemoved() override { events << QStringLiteral("removed"); }
    void aboutToReset() override { events << QStringLiteral("reset?"); }
    void reset() override { events << QStringLiteral("reset"); }
    void rowsChanged(int first, int last) override { events << QStringLiteral("changed %1-%2").arg(first).arg(last); }
};

} // namespace

class TestRowModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void viewsAreToldBeforeAndAfter();
    void executeHistory();
    void dropDown();
};

void TestRowModel::viewsAreToldBeforeAndAfter()
{
    RenameRowList list;
    Recorder recorder;
    recorder.list = &list;
    list.setObserver(&recorder);
    list.append(fileRow(QStringLiteral("a")));
    QCOMPARE(recorder.rowCountSeen, 0);
    list.append(fileRow(QStringLiteral("b")));
    list.setSelected(2, true);
    list.setSelected(2, true);
    list.remove(1);
    list.clear();
    QCOMPARE(recorder.events,
             QStringList({QStringLiteral("insert 1-1"), QStringLiteral("inserted"), QStringLiteral("insert 2-2"),
                          QStringLiteral("inserted"), QStringLiteral("changed 2-2"), QStringLiteral("remove 1-1"),
                          QStringLiteral("removed"), QStringLiteral("reset?"), QStringLiteral("reset")}));
}

void TestRowModel::executeHistory()
{
    InputHistory history;
    history.recordExecute(QStringLiteral("(\\d+)"));
    history.recordExecute(QStringLiteral("abc"));
    history.recordExecute(QStringLiteral("ABC"));
    history.recordExecute(QString());
    QCOMPARE(history.executeHistoryText(), QStringLiteral("ABC\tabc\t(\\d+)"));
    history.recordExecute(QStringLiteral("(\\d+)"));
    QCOMPARE(history.executeHistoryText(), QStringLiteral("(\\d+)\tABC\tabc"));

    InputHistory restored;
    restored.setExecuteHistoryText(QStringLiteral("x\t\ty\t"));
    QCOMPARE(restored.executeHistory(), QStringList({QStringLiteral("x"), QStringLiteral("y")}));
}

void TestRowModel::dropDown()
{
    InputHistory history;
    history.setExecuteHistoryText(QStringLiteral("beta\tAlpha\tgamma\talpha"));
    QCOMPARE(history.rebuildDropDown(false),
             QStringList({QStringLiteral("beta"), QStringLiteral("Alpha"), QStringLiteral("gamma"), QStringLiteral("alpha")}));
    QCOMPARE(history.rebuildDropDown(true),
             QStringList({QStringLiteral("Alpha"), QStringLiteral("alpha"), QStringLiteral("beta"), QStringLiteral("gamma")}));

    history.promote(QStringLiteral("gamma"));
    QCOMPARE(history.dropDown().first(), QStringLiteral("gamma"));
    QCOMPARE(history.dropDown().count(QStringLiteral("gamma")), 1);
    // A Try does not change what Execute recorded.
    QCOMPARE(history.executeHistory().first(), QStringLiteral("beta"));

    history.removeFromDropDown(QStringLiteral("beta"));
    QVERIFY(!history.dropDown().contains(QStringLiteral("beta")));
    QVERIFY(!history.executeHistory().contains(QStringLiteral("beta")));
}

QTEST_GUILESS_MAIN(TestRowModel)
#include "tst_rowmodel.moc"
