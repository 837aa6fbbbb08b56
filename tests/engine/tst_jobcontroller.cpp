#include "engine/jobcontroller.h"
#include "platform/linuxfilesystem.h"
#include "scripteduserchannel.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A controller over a folder of its own, with a scripted user.
struct Controller
{
    QTemporaryDir dir;
    ScriptedUserChannel user;
    LinuxFileSystem files;
    JobController c{user, files};

    explicit Controller(const QStringList &names)
    {
        for (const QString &name : names) {
            QFile file(dir.filePath(name));
            if (file.open(QIODevice::WriteOnly))
                file.write(name.toUtf8());
        }
        c.SelectJob(JobKind::FileNameReplace);
        c.LoadFolder(dir.path());
    }

    QStringList onDisk() const { return QDir(dir.path()).entryList(QDir::Files, QDir::Name); }
};

} // namespace

// What the window and unattended runs both rely on the controller for, beyond
// the planners and executor themselves.
class TestJobController : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void historiesFollowTryAndExecute()
    {
        Controller f({u"a1.txt"_qs, u"b.txt"_qs});
        JobController &c = f.c;
        c.SetSearchInput(&JobInputs::searchText, u"zzz"_qs);
        QCOMPARE(c.TryCommand(), TryResult::NothingToChange);
        QVERIFY(c.searchHistory().dropDown().isEmpty());

        c.SetSearchInput(&JobInputs::searchText, u"a(\\d)"_qs);
        c.SetSearchInput(&JobInputs::replaceText, u"z$1"_qs);
        QCOMPARE(c.TryCommand(), TryResult::Planned);
        QCOMPARE(c.searchHistory().dropDown().first(), u"a(\\d)"_qs);
        QVERIFY(c.searchHistory().executeHistory().isEmpty());

        QVERIFY(!c.ExecuteCommand());
        QCOMPARE(f.onDisk(), (QStringList{u"b.txt"_qs, u"z1.txt"_qs}));
        QCOMPARE(c.searchHistory().executeHistory(), QStringList{u"a(\\d)"_qs});
        QCOMPARE(c.replaceHistory().executeHistory(), QStringList{u"z$1"_qs});
    }

    void typedNamesAreCheckedNotComputed()
    {
        Controller f({u"a.txt"_qs, u"b.txt"_qs});
        JobController &c = f.c;
        c.SetSearchInput(&JobInputs::searchText, u"txt"_qs);
        c.SetSearchInput(&JobInputs::replaceText, u"doc"_qs);
        QStringList typed = c.ActiveColumn(1);
        typed[0] = u"typed.txt"_qs;
        c.ApplyDirectData(1, typed);
        c.SetInput(&JobInputs::ChkManual, true);
        QCOMPARE(c.TryCommand(), TryResult::Planned);
        QCOMPARE(c.rows().field(1, RenameField::NewName), u"typed.txt"_qs);
        QCOMPARE(c.rows().field(2, RenameField::NewName), c.rows().field(2, RenameField::CurrentName));

        typed[1] = u"bad:name"_qs;
        c.ApplyDirectData(1, typed);
        QCOMPARE(c.TryCommand(), TryResult::Invalid);
    }

    void oneStepModeLeavesACollisionAlone()
    {
        Controller f({u"a.txt"_qs, u"b.txt"_qs});
        JobController &c = f.c;
        c.SetNoTryMode(true);
        c.SetSearchInput(&JobInputs::searchText, u"b"_qs);
        c.SetSearchInput(&JobInputs::replaceText, u"a"_qs);
        QCOMPARE(c.TryCommand(), TryResult::Duplicate);
        QCOMPARE(f.onDisk(), (QStringList{u"a.txt"_qs, u"b.txt"_qs}));
    }

    void dateJobsTakeTheSelectedRowsStamp()
    {
        Controller f({});
        QFile file(f.dir.filePath(u"a.txt"_qs));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.setFileTime(QDateTime(QDate(2015, 4, 3), QTime(9, 8, 7)), QFileDevice::FileModificationTime));
        file.close();
        JobController &c = f.c;
        c.LoadFolder(f.dir.path());
        c.SetRowSelected(1, true);
        c.SelectJob(JobKind::ModifiedDate);
        QCOMPARE(c.inputs().baseDate, QDate(2015, 4, 3));
        QCOMPARE(c.inputs().baseTime, QTime(9, 8, 7));
    }

    void commandFileDropsTheEarlierPlan()
    {
        Controller f({u"x1.txt"_qs});
        JobController &c = f.c;
        c.SetSearchInput(&JobInputs::searchText, u"x"_qs);
        c.SetSearchInput(&JobInputs::replaceText, u"y"_qs);
        QCOMPARE(c.TryCommand(), TryResult::Planned);
        QFile file(f.dir.filePath(u"job.dat"_qs));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Com=ファイル名置換\r\nSearch=FROMFILE\r\nReplace=z\r\n");
        file.close();
        QCOMPARE(c.CommandFileLoad(file.fileName()), 0);
        QVERIFY(!c.states().executeEnabled && !c.states().restoreEnabled);
        QCOMPARE(c.inputs().searchText, u"FROMFILE"_qs);
        QVERIFY(c.caption().contains(u"< job.dat >"_qs));
    }

    void mp3JobStartsWithFreshTemplates()
    {
        Controller f({u"a.mp3"_qs, u"b.txt"_qs});
        JobController &c = f.c;
        c.SetTagTemplate(1, u"$1"_qs);
        c.SelectJob(JobKind::Mp3TagEdit);
        QCOMPARE(c.tagJob().txtField[1], u"<Title>"_qs);

        // Reading chosen files in the job is a fresh start as well.
        c.SetTagTemplate(1, u"$1"_qs);
        c.ReadFiles({f.dir.filePath(u"a.mp3"_qs), f.dir.filePath(u"b.txt"_qs)});
        QCOMPARE(c.tagJob().rows().count(), 1);
        QCOMPARE(c.tagJob().txtField[1], u"<Title>"_qs);
    }
};

QTEST_GUILESS_MAIN(TestJobController)
#include "tst_jobcontroller.moc"
