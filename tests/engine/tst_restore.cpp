#include "engine/executerename.h"
#include "engine/restore.h"

#include "enginefixture.h"
#include "platform/displaytext.h"
#include "platform/messagerequest.h"

#include <QDir>
#include <QTest>

#include <cerrno>

class TestRestore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void namesComeBackAfterAnExchange();
    void rowsWithoutEarlierNameAreLeftAlone();
    void declinedOrNothingToDo();
    void failuresAreShownUntilTheUserDeclines();
    void theNameOnDiskCountsNotALaterPlan();
    void folderRowsComeBackInTheFolderJob();
    void restoreListDropsThePlan();
};

void TestRestore::namesComeBackAfterAnExchange()
{
    EngineFixture f;
    f.write(u"a.txt"_qs, "A");
    f.write(u"b.txt"_qs, "B");
    f.write(u"c.txt"_qs, "C");
    f.addRow(u"a.txt"_qs, u"b.txt"_qs);
    f.addRow(u"b.txt"_qs, u"a.txt"_qs);
    f.addRow(u"c.txt"_qs, u"c.txt"_qs);
    QVERIFY(!ExecuteRename(f.context, true));
    f.files.renames.clear();

    RestoreNames(f.context);

    QCOMPARE(f.read(u"a.txt"_qs), QByteArray("A"));
    QCOMPARE(f.read(u"b.txt"_qs), QByteArray("B"));
    QCOMPARE(f.files.renames,
             (QStringList{f.path(u"b.txt"_qs) + u" -> "_qs + f.path(u"a.txt##"_qs),
                          f.path(u"a.txt"_qs) + u" -> "_qs + f.path(u"b.txt##"_qs),
                          f.path(u"a.txt##"_qs) + u" -> "_qs + f.path(u"a.txt"_qs),
                          f.path(u"b.txt##"_qs) + u" -> "_qs + f.path(u"b.txt"_qs)}));
    for (int i = 1; i <= 2; ++i) {
        const RenameRow &row = f.rows.row(i);
        QVERIFY(row[RenameField::OriginalName].isEmpty());
        QCOMPARE(row[RenameField::NewName], row[RenameField::CurrentName]);
    }
    QCOMPARE(f.rows.row(1)[RenameField::CurrentName], u"a.txt"_qs);
    QCOMPARE(f.user.prompts(), QStringList{u"実行前のファイル名に戻します。よろしいですか？"_qs});
    QVERIFY(!f.states.restoreFileNameEnabled);
}

void TestRestore::rowsWithoutEarlierNameAreLeftAlone()
{
    EngineFixture f;
    f.write(u"x"_qs, "X");
    f.write(u"y"_qs, "Y");
    f.addRow(u"x"_qs, u"x"_qs);
    f.addRow(u"y"_qs, u"y"_qs);
    // Renamed two executions ago: it still goes back to that name.
    f.rows.editRow(2)[RenameField::OriginalName] = u"older"_qs;

    RestoreNames(f.context);
    QCOMPARE(f.read(u"x"_qs), QByteArray("X"));
    QCOMPARE(f.read(u"older"_qs), QByteArray("Y"));
    QCOMPARE(f.files.renames.size(), 2);
}

void TestRestore::declinedOrNothingToDo()
{
    EngineFixture f;
    f.write(u"new"_qs, "N");
    f.addRow(u"new"_qs, u"new"_qs);
    f.rows.editRow(1)[RenameField::OriginalName] = u"old"_qs;
    f.states.restoreFileNameEnabled = true;
    f.user.answers << MessageAnswer::Cancel;
    RestoreNames(f.context);
    QCOMPARE(f.read(u"new"_qs), QByteArray("N"));
    QVERIFY(!f.states.restoreFileNameEnabled);

    EngineFixture g;
    g.addRow(u"missing"_qs, u"missing"_qs);
    g.rows.editRow(1)[RenameField::OriginalName] = u"old"_qs;
    g.states.restoreFileNameEnabled = true;
    RestoreNames(g.context);
    QVERIFY(g.user.messages.isEmpty());
    QVERIFY(g.states.restoreFileNameEnabled);
}

void TestRestore::failuresAreShownUntilTheUserDeclines()
{
    EngineFixture f;
    for (const QString &name : {u"p"_qs, u"q"_qs, u"r"_qs}) {
        f.write(name, name.toUtf8());
        f.addRow(name, name);
        f.rows.editRow(f.rows.count())[RenameField::OriginalName] = name + u"0"_qs;
    }
    f.files.renameFault = [](const QString &from, const QString &) {
        return from.endsWith(u"/q"_qs) || from.endsWith(u"/r"_qs) ? EACCES : 0;
    };
    f.user.answers << MessageAnswer::Ok << MessageAnswer::No;

    RestoreNames(f.context);
    QCOMPARE(f.user.messages.size(), 2);
    QVERIFY(f.user.messages[1].prompt.startsWith(FsStatus::fromErrno(EACCES).text()));
    QCOMPARE(f.user.messages[1].title, u"エラーメッセージを続けて表示しますか？"_qs);
    QVERIFY(f.user.messages[1].prompt.contains(f.path(u"q0"_qs)));
    QVERIFY(f.user.messages[1].prompt.contains(f.path(u"q"_qs)));
    QCOMPARE(f.read(u"p0"_qs), QByteArray("p"));
    QCOMPARE(f.read(u"q"_qs), QByteArray("q"));
    QCOMPARE(f.rows.row(1)[RenameField::Path], f.path(u"p0"_qs));
    QCOMPARE(f.rows.row(2)[RenameField::OriginalName], u"q0"_qs);
    // The items not back can be tried again.
    QVERIFY(f.states.restoreFileNameEnabled);
    f.files.renameFault = nullptr;
    RestoreNames(f.context);
    QCOMPARE(f.read(u"r0"_qs), QByteArray("r"));
}

void TestRestore::theNameOnDiskCountsNotALaterPlan()
{
    EngineFixture f;
    f.write(u"a"_qs, "A");
    f.write(u"b"_qs, "B");
    f.addRow(u"a"_qs, u"a2"_qs);
    f.addRow(u"b"_qs, u"b2"_qs);
    QVERIFY(!ExecuteRename(f.context, true));
    // A later Try plans the two current names crosswise.
    f.rows.editRow(1)[RenameField::NewName] = u"b2"_qs;
    f.rows.editRow(2)[RenameField::NewName] = u"a2"_qs;

    RestoreNames(f.context);
    QCOMPARE(f.read(u"a"_qs), QByteArray("A"));
    QCOMPARE(f.read(u"b"_qs), QByteArray("B"));
}

void TestRestore::folderRowsComeBackInTheFolderJob()
{
    EngineFixture f;
    f.context.job = JobKind::FolderRename;
    QVERIFY(QDir(f.dir.path()).mkdir(u"before"_qs));
    f.write(u"before/inside"_qs, "I");
    f.addRow(u"before"_qs, u"after"_qs);
    QVERIFY(!ExecuteRename(f.context, true));
    QCOMPARE(f.read(u"after/inside"_qs), QByteArray("I"));

    RestoreNames(f.context);
    QCOMPARE(f.read(u"before/inside"_qs), QByteArray("I"));
    QCOMPARE(f.rows.row(1)[RenameField::CurrentName], u"before"_qs);
}

void TestRestore::restoreListDropsThePlan()
{
    EngineFixture f;
    f.write(u"here"_qs, "H");
    f.addRow(u"here"_qs, u"planned"_qs);
    f.addRow(u"gone"_qs, u"planned too"_qs);
    for (int i = 1; i <= 2; ++i) {
        f.rows.editRow(i)[RenameField::Created] = u"1999/01/01 00:00:00"_qs;
        f.rows.editRow(i)[RenameField::Modified] = u"1999/01/01 00:00:00"_qs;
    }
    f.states.executeEnabled = true;

    RestoreList(f.context);
    QCOMPARE(f.rows.row(1)[RenameField::NewName], u"here"_qs);
    QCOMPARE(f.rows.row(2)[RenameField::NewName], u"gone"_qs);
    QCOMPARE(f.rows.row(1)[RenameField::Modified], DateText(f.files.info(f.path(u"here"_qs)).modified));
    QCOMPARE(f.rows.row(2)[RenameField::Modified], u"1999/01/01 00:00:00"_qs);
    QVERIFY(f.files.renames.isEmpty());
    QVERIFY(!f.states.executeEnabled);
}

QTEST_GUILESS_MAIN(TestRestore)
#include "tst_restore.moc"
