#include "engine/jobcontroller.h"
#include "platform/linuxfilesystem.h"
#include "scripteduserchannel.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

QStringList listed(JobController &controller)
{
    QStringList names;
    for (const RenameRow &row : controller.rows().rows())
        names << row[RenameField::CurrentName];
    names.sort();
    return names;
}

} // namespace

// The controller drives Try, Execute, Restore and job switches over a real
// folder, as the window or an unattended run would.
class TestJobController : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void tryExecuteRestoreStates();
    void typedNamesAreCheckedNotComputed();
    void nothingToChangeAndInvalidStates();
    void oneStepMode();
    void switchesTransferOrClearRows();
    void clicksSeedInputs();
    void dateJobsTakeTheSelectedRowsStamp();
    void commandFileSwitchesTheJobAndKeepsItsTexts();
    void mp3SwitchResetsTemplates();
    void readFilesInTheMp3Job();

private:
    void makeFiles(const QStringList &names);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedUserChannel> m_user;
    LinuxFileSystem m_files;
    std::unique_ptr<JobController> m_controller;
};

void TestJobController::init()
{
    ProcessFlags::setNoConfirm(false);
    ProcessFlags::setOnlyTop(false);
    m_dir = std::make_unique<QTemporaryDir>();
    m_user = std::make_unique<ScriptedUserChannel>();
    m_controller = std::make_unique<JobController>(*m_user, m_files);
    m_controller->SelectJob(JobKind::FileNameReplace);
}

void TestJobController::makeFiles(const QStringList &names)
{
    for (const QString &name : names) {
        QFile file(m_dir->filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(name.toUtf8());
    }
}

void TestJobController::tryExecuteRestoreStates()
{
    makeFiles({"a1.txt", "a2.txt", "b.txt"});
    JobController &c = *m_controller;
    QVERIFY(!c.LoadFolder(m_dir->path()));
    QCOMPARE(c.rows().count(), 3);
    c.inputs().searchText = "a(\\d)";
    c.inputs().replaceText = "z$1";
    QCOMPARE(c.TryCommand(), TryResult::Planned);
    QVERIFY(c.states().tryEnabled && c.states().executeEnabled && c.states().restoreEnabled);
    QCOMPARE(c.rows().selectedCount(), 2);
    QCOMPARE(c.searchHistory().dropDown().first(), QStringLiteral("a(\\d)"));
    QVERIFY(c.searchHistory().executeHistory().isEmpty());
    QVERIFY(m_user->lastPrompt().startsWith(QStringLiteral("試行完了！")));

    QVERIFY(!c.ExecuteCommand());
    QVERIFY(!c.states().executeEnabled);
    QCOMPARE(namesIn(m_dir->path()), QStringList({"b.txt", "z1.txt", "z2.txt"}));
    QCOMPARE(c.searchHistory().executeHistory(), QStringList({"a(\\d)"}));
    QCOMPARE(c.replaceHistory().executeHistory(), QStringList({"z$1"}));

    c.RestoreFileNames();
    QCOMPARE(namesIn(m_dir->path()), QStringList({"a1.txt", "a2.txt", "b.txt"}));

    c.RestoreCommand();
    QVERIFY(c.states().tryEnabled);
    QVERIFY(!c.states().executeEnabled && !c.states().restoreEnabled);
    QCOMPARE(c.rows().selectedCount(), 0);
}

void TestJobController::typedNamesAreCheckedNotComputed()
{
    makeFiles({"a.txt", "b.txt"});
    JobController &c = *m_controller;
    c.LoadFolder(m_dir->path());
    c.inputs().searchText = "txt";
    c.inputs().replaceText = "doc";
    c.rows().setField(1, RenameField::NewName, "typed.txt");
    c.tagJob().ChkManual = true;
    QCOMPARE(c.TryCommand(), TryResult::Planned);
    QCOMPARE(c.rows().field(1, RenameField::NewName), QStringLiteral("typed.txt"));
    QCOMPARE(c.rows().field(2, RenameField::NewName), c.rows().field(2, RenameField::CurrentName));

    c.rows().setField(2, RenameField::NewName, "bad:name");
    QCOMPARE(c.TryCommand(), TryResult::Invalid);
}

void TestJobController::nothingToChangeAndInvalidStates()
{
    makeFiles({"a.txt"});
    JobController &c = *m_controller;
    c.LoadFolder(m_dir->path());
    c.inputs().searchText = "zzz";
    QCOMPARE(c.TryCommand(), TryResult::NothingToChange);
    QVERIFY(c.states().tryEnabled && !c.states().executeEnabled && !c.states().restoreEnabled);
    // A Try that did not plan leaves the drop-down list alone.
    QVERIFY(c.searchHistory().dropDown().isEmpty());

    c.inputs().searchText = "a";
    c.inputs().replaceText = "?";
    QCOMPARE(c.TryCommand(), TryResult::Invalid);
    QVERIFY(c.states().tryEnabled && !c.states().executeEnabled && c.states().restoreEnabled);
    QCOMPARE(namesIn(m_dir->path()), QStringList({"a.txt"}));
}

void TestJobController::oneStepMode()
{
    makeFiles({"a.txt", "b.txt"});
    JobController &c = *m_controller;
    c.SetNoTryMode(true);
    QCOMPARE(c.tryCaption(), QStringLiteral("実行"));
    QVERIFY(!c.executeVisible());
    c.LoadFolder(m_dir->path());
    c.inputs().searchText = "b";
    c.inputs().replaceText = "a";
    // Planning fails on the collision: nothing is executed.
    QCOMPARE(c.TryCommand(), TryResult::Duplicate);
    QCOMPARE(namesIn(m_dir->path()), QStringList({"a.txt", "b.txt"}));

    m_user->clear();
    c.inputs().replaceText = "c";
    QCOMPARE(c.TryCommand(), TryResult::Planned);
    QCOMPARE(namesIn(m_dir->path()), QStringList({"a.txt", "c.txt"}));
    for (const QString &prompt : m_user->prompts())
        QVERIFY(!prompt.startsWith(QStringLiteral("試行完了！")));
    c.SetNoTryMode(false);
    QCOMPARE(c.tryCaption(), QStringLiteral("試行"));
}

void TestJobController::switchesTransferOrClearRows()
{
    makeFiles({"one.mp3", "two.MP3", "three.txt"});
    JobController &c = *m_controller;
    c.LoadFolder(m_dir->path());
    c.SelectJob(JobKind::Mp3TagEdit);
    QVERIFY(c.setup().mp3List);
    QCOMPARE(c.tagJob().rows().count(), 2);
    QVERIFY(!c.states().executeEnabled && !c.states().restoreEnabled);

    c.SelectJob(JobKind::FileNameReplace);
    QCOMPARE(listed(c), QStringList({"one.mp3", "two.MP3"}));
    QVERIFY(!c.rows().field(1, RenameField::Modified).isEmpty());

    c.SelectJob(JobKind::Mp3TagEdit);
    c.SelectJob(JobKind::FolderRename);
    QCOMPARE(c.rows().count(), 0);
    QVERIFY(c.setup().folderHeaders);

    c.LoadFolder(QFileInfo(m_dir->path()).path());
    QVERIFY(c.rows().count() > 0);
    c.SelectJob(JobKind::Numbering);
    QCOMPARE(c.rows().count(), 0);
    QVERIFY(c.setup().numberingGroup && c.setup().preview);
}

void TestJobController::clicksSeedInputs()
{
    makeFiles({"photo.jpg"});
    JobController &c = *m_controller;
    c.LoadFolder(m_dir->path());
    c.startedFromCommandLine = true;
    c.inputs().searchText = "given";
    c.SeedInputsFromRow(1);
    QCOMPARE(c.inputs().searchText, QStringLiteral("given"));
    c.startedFromCommandLine = false;
    c.SeedInputsFromRow(1);
    QCOMPARE(c.inputs().searchText, QStringLiteral("photo.jpg"));
    QCOMPARE(c.inputs().baseName, QStringLiteral("photo.jpg"));

    c.SelectJob(JobKind::Numbering);
    c.inputs().baseName = "pic";
    c.inputs().separator = "_";
    c.inputs().digits = "3";
    c.inputs().addTop = false;
    c.RefreshJobInputs();
    QCOMPARE(c.preview(), QStringLiteral("pic_001"));
}

void TestJobController::dateJobsTakeTheSelectedRowsStamp()
{
    makeFiles({"a.txt"});
    QFile file(m_dir->filePath("a.txt"));
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime(QDate(2015, 4, 3), QTime(9, 8, 7)), QFileDevice::FileModificationTime));
    file.close();
    JobController &c = *m_controller;
    c.LoadFolder(m_dir->path());
    c.rows().setSelected(1, true);
    c.SelectJob(JobKind::ModifiedDate);
    QCOMPARE(c.inputs().baseDate, QDate(2015, 4, 3));
    QCOMPARE(c.inputs().baseTime, QTime(9, 8, 7));
    QCOMPARE(c.setup().timeStampCaption, QStringLiteral("基準にする更新日時を入力"));
}

void TestJobController::commandFileSwitchesTheJobAndKeepsItsTexts()
{
    makeFiles({"x1.txt", "x2.txt"});
    JobController &c = *m_controller;
    c.LoadFolder(m_dir->path());
    c.inputs().searchText = "x";
    c.inputs().replaceText = "y";
    QCOMPARE(c.TryCommand(), TryResult::Planned);
    QVERIFY(c.states().executeEnabled);
    const QString path = m_dir->filePath("job.dat");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Com=ファイル名置換\r\nSearch=FROMFILE\r\nReplace=z\r\n");
    file.close();
    QCOMPARE(c.CommandFileLoad(path), 0);
    // The plan of the earlier Try is gone; the file's texts stay.
    QVERIFY(!c.states().executeEnabled && !c.states().restoreEnabled);
    QCOMPARE(c.inputs().searchText, QStringLiteral("FROMFILE"));
    QVERIFY(c.caption().contains(QStringLiteral("< job.dat >")));
    QVERIFY(c.caption().startsWith(QStringLiteral("Corvane %1 ").arg(QStringLiteral(CORVANE_CAPTION_VERSION))));
}

void TestJobController::mp3SwitchResetsTemplates()
{
    JobController &c = *m_controller;
    c.tagJob().txtField[1] = "$1";
    c.SelectJob(JobKind::Mp3TagEdit);
    QCOMPARE(c.tagJob().txtField[1], QStringLiteral("<Title>"));
}

void TestJobController::readFilesInTheMp3Job()
{
    makeFiles({"a.mp3", "b.txt"});
    JobController &c = *m_controller;
    c.SelectJob(JobKind::Mp3TagEdit);
    c.tagJob().txtField[1] = "$1";
    c.ReadFiles({m_dir->filePath("a.mp3"), m_dir->filePath("b.txt")});
    QCOMPARE(c.tagJob().rows().count(), 1);
    // As after a switch into the job: fresh templates.
    QCOMPARE(c.tagJob().txtField[1], QStringLiteral("<Title>"));
}

QTEST_GUILESS_MAIN(TestJobController)
#include "tst_jobcontroller.moc"
