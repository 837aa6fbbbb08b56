#include "engine/control/jobcontroller.h"
#include "engine/run/runjournal.h"
#include "platform/linuxfilesystem.h"
#include "scripteduserchannel.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>

// Kills the built corvane program in the middle of a large rename and checks
// that the journal it left puts every file back, or lets a later start
// finish the run, with no file lost.
class TestCrashRecovery : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void killedRunsAreUndone();
    void killedRunIsFinishedAtTheNextStart();
    void stopSignalLeavesNothingParked();

private:
    enum class Phase { NotStarted, FirstPass, SecondPass, Done };
    QProcess *start(const QStringList &arguments);
    QProcess *startRename();
    // Starts a rename and kills it at a moment read from the disk, not from
    // the journal, so that a mark written late is caught: in the first pass
    // once `parked` items are parked, in the second once only `parked` are
    // left. Tells where the journal says the run was.
    Phase killAt(bool secondPass, int parked);
    qsizetype parkedOnDisk() const;
    int undo();
    void verifyOriginalNames();
    void verifyEveryFileOnce();
    QString journal() const { return m_dir->filePath(QStringLiteral("settings/Journal.dat")); }
    QString files() const { return m_dir->filePath(QStringLiteral("files")); }

    std::unique_ptr<QTemporaryDir> m_dir;
    static constexpr int fileCount = 20000;
};

void TestCrashRecovery::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid() && QDir().mkpath(files()));
    for (int i = 0; i < fileCount; ++i) {
        QFile file(files() + QStringLiteral("/f%1.txt").arg(i));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::number(i));
    }
}

QProcess *TestCrashRecovery::start(const QStringList &arguments)
{
    auto *process = new QProcess(this);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("CORVANE_SETTINGS_DIR"), m_dir->filePath(QStringLiteral("settings")));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process->setProcessEnvironment(environment);
    process->start(QStringLiteral(CORVANE_BINARY), arguments);
    process->closeWriteChannel();
    return process;
}

QProcess *TestCrashRecovery::startRename()
{
    // f1 → f2, f2 → f3 …: every name changes, and all but one take another's.
    return start({QStringLiteral("-folder"), files(), QStringLiteral("-search"), QStringLiteral("^f(\\d+)"),
                  QStringLiteral("-pattern"), QStringLiteral("f<format($1+1,\"0\")>"), QStringLiteral("-auto"),
                  QStringLiteral("-quit"), QStringLiteral("-no_confirm")});
}

qsizetype TestCrashRecovery::parkedOnDisk() const
{
    return QDir(files()).entryList({QStringLiteral("tmp*")}, QDir::Files, QDir::NoSort).size();
}

TestCrashRecovery::Phase TestCrashRecovery::killAt(bool secondPass, int parked)
{
    QFile::remove(journal());
    QProcess *process = startRename();
    if (!process->waitForStarted(10000))
        return Phase::NotStarted;
    // The first pass only adds parked names, the second only takes them away.
    QElapsedTimer waited;
    waited.start();
    qsizetype most = 0;
    while (process->state() == QProcess::Running && waited.elapsed() < 30000) {
        const qsizetype now = parkedOnDisk();
        if (secondPass ? now < most && now <= parked : now >= parked)
            break;
        most = std::max(most, now);
    }
    ::kill(static_cast<pid_t>(process->processId()), SIGKILL);
    process->waitForFinished(10000);
    delete process;
    bool busy = false;
    QString error;
    const JournalRecord record = RunJournal::load(journal(), &busy, &error);
    if (!record.exists)
        return Phase::NotStarted;
    if (record.complete)
        return Phase::Done;
    return record.secondPass ? Phase::SecondPass : Phase::FirstPass;
}

int TestCrashRecovery::undo()
{
    std::unique_ptr<QProcess> process(start({QStringLiteral("-undo")}));
    process->waitForFinished(60000);
    return process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
}

void TestCrashRecovery::verifyEveryFileOnce()
{
    const QStringList names = QDir(files()).entryList(QDir::Files);
    QCOMPARE(names.size(), fileCount);
    QSet<QByteArray> contents;
    for (const QString &name : names) {
        QFile file(files() + u'/' + name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        contents.insert(file.readAll());
    }
    QCOMPARE(contents.size(), fileCount);
}

void TestCrashRecovery::verifyOriginalNames()
{
    verifyEveryFileOnce();
    for (int i = 0; i < fileCount; i += 997) {
        QFile file(files() + QStringLiteral("/f%1.txt").arg(i));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        QCOMPARE(file.readAll(), QByteArray::number(i));
    }
}

void TestCrashRecovery::killedRunsAreUndone()
{
    // A few kills in each pass, at different depths.
    QSet<Phase> seen;
    for (int attempt = 0; attempt < 8; ++attempt) {
        const bool second = attempt % 2 == 1;
        const Phase phase = killAt(second, fileCount / 8 * (1 + attempt / 2));
        seen.insert(phase);
        QVERIFY(undo() != 1);
        verifyOriginalNames();
        if (phase == Phase::FirstPass || phase == Phase::SecondPass)
            QCOMPARE(undo(), 2); // the undo itself leaves nothing to put back
    }
    QVERIFY2(seen.contains(Phase::FirstPass) && seen.contains(Phase::SecondPass), "no kill landed in one of the passes");
}

void TestCrashRecovery::killedRunIsFinishedAtTheNextStart()
{
    Phase phase = Phase::NotStarted;
    for (int attempt = 0; attempt < 5 && phase != Phase::FirstPass && phase != Phase::SecondPass; ++attempt) {
        phase = killAt(attempt % 2 == 1, fileCount / 4 * (1 + attempt / 2));
        if (phase == Phase::Done)
            QCOMPARE(undo(), 0);
    }
    QVERIFY(phase == Phase::FirstPass || phase == Phase::SecondPass);

    ScriptedUserChannel user;
    LinuxFileSystem fileSystem;
    JobController controller(user, fileSystem);
    controller.setJournalPath(journal());
    user.answers << MessageAnswer::No; // finish the run
    controller.RecoverInterruptedRun();
    // The question counts the items; the status window shows while they move, the end counts them.
    QVERIFY(user.prompts().first().contains(u"（20,000 件）"));
    QCOMPARE(user.statusTexts.first(), "中断された名前の変更を最後まで実行しています（20,000 件）・・・");
    QVERIFY(user.lastPrompt().startsWith(u"中断された名前の変更を最後まで実行しました。移動した項目："));
    QVERIFY(user.lastPrompt().endsWith(u" 件（全 20,000 件中）"));
    verifyEveryFileOnce();
    for (int i = 0; i < fileCount; i += 997) {
        QFile file(files() + QStringLiteral("/f%1.txt").arg(i + 1));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray::number(i));
    }
    QVERIFY(!RunJournal::unfinished(journal()));
    // After another restart, "元のファイル名に戻す" puts the finished run back as a whole.
    JobController restarted(user, fileSystem);
    restarted.setJournalPath(journal());
    QVERIFY(restarted.journalUndoable());
    restarted.LoadFolder(files());
    restarted.RestoreFileNames();
    verifyOriginalNames();
    // The rows read after the restart follow their items back.
    const RenameRowList &rows = restarted.rows();
    QCOMPARE(rows.count(), fileCount);
    for (int i = 1; i <= rows.count(); i += 997) {
        const QString path = rows.field(i, RenameField::Path);
        QVERIFY(QFile::exists(path) && path.endsWith(u'/' + rows.field(i, RenameField::CurrentName)));
    }
    QVERIFY(!restarted.states().restoreFileNameEnabled());
}

void TestCrashRecovery::stopSignalLeavesNothingParked()
{
    QProcess *process = startRename();
    QVERIFY(process->waitForStarted(10000));
    QElapsedTimer waited;
    waited.start();
    // SIGTERM as soon as the run has written its journal.
    while (!QFile::exists(journal()) && waited.elapsed() < 20000)
        QThread::msleep(1);
    ::kill(static_cast<pid_t>(process->processId()), SIGTERM);
    QVERIFY(process->waitForFinished(30000));
    QCOMPARE(process->exitStatus(), QProcess::NormalExit);
    const int status = process->exitCode();
    delete process;
    const QStringList parked = QDir(files()).entryList({QStringLiteral("tmp*")}, QDir::Files);
    QVERIFY2(parked.isEmpty(), qPrintable(parked.value(0)));
    verifyEveryFileOnce();
    QVERIFY(!RunJournal::unfinished(journal()));
    // Stopped before its end, the run failed; had it already ended, it succeeded.
    QVERIFY(status == 0 || status == 1);
}

QTEST_GUILESS_MAIN(TestCrashRecovery)
#include "tst_crashrecovery.moc"
