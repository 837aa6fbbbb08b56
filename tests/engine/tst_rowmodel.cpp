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
    void rowList();
    void viewsAreToldBeforeAndAfter();
    void jobs();
    void processWideMirrors();
    void executeHistory();
    void dropDown();
};

void TestRowModel::rowList()
{
    RenameRowList list;
    QVERIFY(list.isEmpty());
    list.append(fileRow(QStringLiteral("a.txt")));
    list.append(fileRow(QStringLiteral("b.txt")));
    QCOMPARE(list.insert(50, fileRow(QStringLiteral("c.txt"))), 3);
    QCOMPARE(list.insert(1, fileRow(QStringLiteral("z.txt"))), 1);
    QCOMPARE(list.count(), 4);
    QCOMPARE(list.field(1, RenameField::CurrentName), QStringLiteral("z.txt"));
    QCOMPARE(list.field(4, RenameField::CurrentName), QStringLiteral("c.txt"));

    const RenameRow &fresh = list.row(2);
    QCOMPARE(fresh[RenameField::NewName], fresh[RenameField::CurrentName]);
    QVERIFY(fresh[RenameField::TempName].isEmpty());
    QVERIFY(fresh[RenameField::SortKey].isEmpty());
    QVERIFY(fresh[RenameField::OriginalName].isEmpty());

    list.setField(2, RenameField::NewName, QStringLiteral("A.txt"));
    QCOMPARE(list.field(2, RenameField::NewName), QStringLiteral("A.txt"));
    QCOMPARE(list.field(2, RenameField::CurrentName), QStringLiteral("a.txt"));

    list.setSelected(2, true);
    list.setSelected(4, true);
    QCOMPARE(list.selectedCount(), 2);
    list.clearSelection();
    QCOMPARE(list.selectedCount(), 0);

    list.remove(1);
    QCOMPARE(list.field(1, RenameField::CurrentName), QStringLiteral("a.txt"));
    list.clear();
    QCOMPARE(list.count(), 0);
}

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

void TestRowModel::jobs()
{
    QCOMPARE(Jobs::labels(),
             QStringList({QStringLiteral("連番作成"), QStringLiteral("ファイル名置換"), QStringLiteral("作成日変更"),
                          QStringLiteral("更新日変更"), QStringLiteral("ＭＰ３タグ編集"), QStringLiteral("フォルダ名変更")}));
    QCOMPARE(Jobs::position(Jobs::Default), 1);
    JobKind job = JobKind::Numbering;
    QVERIFY(Jobs::fromLabel(QStringLiteral("ＭＰ３タグ編集"), &job));
    QCOMPARE(job, JobKind::Mp3TagEdit);
    // Labels are exact: the half-width spelling names no job.
    QVERIFY(!Jobs::fromLabel(QStringLiteral("MP3タグ編集"), &job));
    QCOMPARE(Jobs::fromPosition(7), JobKind::FileNameReplace);
    QCOMPARE(Jobs::fromPosition(5), JobKind::FolderRename);
}

void TestRowModel::processWideMirrors()
{
    RunOptions options;
    options.setOnlyTopFolder(true);
    options.setNoConfirm(true);
    QVERIFY(ProcessFlags::onlyTop());
    QVERIFY(ProcessFlags::noConfirm());
    options.setOnlyTopFolder(false);
    QVERIFY(!ProcessFlags::onlyTop());
    // The command line sets the process-wide flag alone.
    ProcessFlags::setNoConfirm(false);
    QVERIFY(!ProcessFlags::noConfirm());
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
    history.promote(QString());
    QCOMPARE(history.dropDown().first(), QStringLiteral("gamma"));
    // A Try does not change what Execute recorded.
    QCOMPARE(history.executeHistory().first(), QStringLiteral("beta"));

    history.removeFromDropDown(QStringLiteral("beta"));
    QVERIFY(!history.dropDown().contains(QStringLiteral("beta")));
    QVERIFY(!history.executeHistory().contains(QStringLiteral("beta")));
}

QTEST_GUILESS_MAIN(TestRowModel)
#include "tst_rowmodel.moc"
