#include "engine/executerename.h"
#include "engine/fileload.h"
#include "engine/journalrecovery.h"
#include "engine/loaderstate.h"
#include "engine/restore.h"

#include "enginefixture.h"
#include "platform/codepage.h"
#include "platform/messagerequest.h"
#include "platform/pathtext.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                                  QDir::Name);
}

// The error log of the run, as the "エラー発生" question shows it.
QString errorLogOf(const ScriptedUserChannel &user)
{
    for (const MessageRequest &request : user.messages) {
        if (request.title == u"エラー発生")
            return request.prompt;
    }
    return {};
}

} // namespace

class TestExecuteRename : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void exchangesAndShifts_data();
    void exchangesAndShifts();
    void declinedConfirmationChangesNothing();
    void targetOnDiskIsNeverReplaced_data();
    void targetOnDiskIsNeverReplaced();
    void itemThatCannotMoveIsLoggedFirstPass();
    void doubleFailureNamesTheTemporaryName();
    void namesTooLongForTheFileSystem();
    void namesThatLeaveTheFolderAreRefused();
    void stopInEitherPassLeavesNothingParked_data();
    void stopInEitherPassLeavesNothingParked();
    void randomPlansNeverLoseAnItem();
    void folderDeeperThanAPathMayBe();
};

void TestExecuteRename::exchangesAndShifts_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("planned");

    QTest::newRow("exchange") << QStringList{u"a.txt"_qs, u"b.txt"_qs} << QStringList{u"b.txt"_qs, u"a.txt"_qs};
    QTest::newRow("shift") << QStringList{u"1"_qs, u"2"_qs, u"3"_qs} << QStringList{u"2"_qs, u"3"_qs, u"4"_qs};
    QTest::newRow("cycle") << QStringList{u"x"_qs, u"y"_qs, u"z"_qs} << QStringList{u"y"_qs, u"z"_qs, u"x"_qs};
    QTest::newRow("case only") << QStringList{u"readme.txt"_qs} << QStringList{u"README.TXT"_qs};
}

void TestExecuteRename::exchangesAndShifts()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, planned);
    EngineFixture f;
    for (int i = 0; i < names.size(); ++i) {
        f.write(names[i], names[i].toUtf8());
        f.addRow(names[i], planned[i]);
    }

    QVERIFY(!ExecuteRename(f.context, false));

    for (int i = 0; i < names.size(); ++i) {
        QCOMPARE(f.read(planned[i]), names[i].toUtf8());
        const RenameRow &row = f.rows.row(i + 1);
        QCOMPARE(row[RenameField::CurrentName], planned[i]);
        QCOMPARE(row[RenameField::OriginalName], names[i]);
        QCOMPARE(row[RenameField::Path], f.path(planned[i]));
        QVERIFY(row[RenameField::TempName].endsWith(u'_' + names[i]));
        QVERIFY(!row.selected);
    }
    QCOMPARE(entriesOf(f.dir.path()).size(), names.size());
    QVERIFY(!f.files.replacedSomething);
    QVERIFY(f.states.restoreFileNameEnabled && f.states.listEnabled);
    QVERIFY(!f.states.tryEnabled && !f.states.executeEnabled && !f.states.restoreEnabled);

    QCOMPARE(f.user.messages.size(), 2);
    QCOMPARE(f.user.messages[0].prompt, u"指定の名前に書き換えます。宜しいですか？"_qs);
    QCOMPARE(f.user.messages[1].prompt, u"変換完了\r\n\r\nフォルダを開きますか？"_qs);
    QCOMPARE(f.desktop.opened, QStringList{f.dir.path()});
}

void TestExecuteRename::declinedConfirmationChangesNothing()
{
    EngineFixture f;
    f.write(u"a"_qs, "A");
    f.addRow(u"a"_qs, u"b"_qs);
    f.states.restoreFileNameEnabled = true;
    f.user.answers << MessageAnswer::Cancel;

    QVERIFY(!ExecuteRename(f.context, false));
    QCOMPARE(f.read(u"a"_qs), QByteArray("A"));
    QVERIFY(f.files.renames.isEmpty());
    QVERIFY(!f.states.restoreFileNameEnabled);
}

void TestExecuteRename::targetOnDiskIsNeverReplaced_data()
{
    QTest::addColumn<bool>("logSaved");
    QTest::newRow("log saved") << true;
    QTest::newRow("log cannot be saved") << false;
}

void TestExecuteRename::targetOnDiskIsNeverReplaced()
{
    QFETCH(bool, logSaved);
    EngineFixture f;
    if (!logSaved)
        f.desktop.folder = f.desktopDir.filePath(u"no such folder"_qs);
    f.write(u"a.txt"_qs, "A");
    f.write(u"taken.txt"_qs, "T");
    f.write(u"c.txt"_qs, "C");
    f.addRow(u"a.txt"_qs, u"taken.txt"_qs);
    f.addRow(u"c.txt"_qs, u"d.txt"_qs);

    QVERIFY(ExecuteRename(f.context, false)); // every question answered yes

    QCOMPARE(f.read(u"a.txt"_qs), QByteArray("A"));
    QCOMPARE(f.read(u"taken.txt"_qs), QByteArray("T"));
    QCOMPARE(f.read(u"d.txt"_qs), QByteArray("C"));
    QVERIFY(!f.files.replacedSomething);

    const RenameRow &failed = f.rows.row(1);
    QCOMPARE(failed[RenameField::CurrentName], u"a.txt"_qs);
    QVERIFY(failed[RenameField::OriginalName].isEmpty());
    QVERIFY(failed.selected);
    QVERIFY(!f.rows.row(2).selected);

    const QString entry = u"★変更処理エラー 1\r\n元の名 = a.txt\r\n置換後 = taken.txt\r\n"_qs
                          + FsStatus::fromErrno(EEXIST).text() + u"\r\n\r\n"_qs;
    QCOMPARE(errorLogOf(f.user),
             u"ファイルリネームでエラーが発生しました！\r\n\r\n"_qs + entry + u"\r\nこのエラーログをファイルに保存しますか？"_qs);
    const QString saved = f.desktopDir.filePath(u"Errlog.txt"_qs);
    QFile file(saved);
    if (logSaved) {
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(CodePage::fromCp932(file.readAll()), entry);
        QCOMPARE(f.user.messages[2].title, u"ファイル出力完了"_qs);
        QCOMPARE(f.user.messages[2].prompt, u"下記のファイルとして保存しました。\r\n\r\n"_qs + saved);
    } else {
        QCOMPARE(f.user.messages[2].title, u"ファイル出力失敗"_qs);
        QVERIFY(f.user.messages[2].prompt.startsWith(u"下記のファイルに保存できませんでした。"_qs));
    }
    QCOMPARE(f.user.messages.last().prompt, u"置換処理は正常には完了しませんでした"_qs);
    QCOMPARE(f.user.messages.last().title, u"異常終了"_qs);
    QVERIFY(f.user.messages.last().plain);
    QVERIFY(f.desktop.opened.isEmpty());
}

void TestExecuteRename::itemThatCannotMoveIsLoggedFirstPass()
{
    EngineFixture f;
    f.write(u"held.txt"_qs, "H");
    f.write(u"free.txt"_qs, "F");
    f.addRow(u"held.txt"_qs, u"held2.txt"_qs);
    f.addRow(u"free.txt"_qs, u"free2.txt"_qs);
    f.addRow(u"vanished.txt"_qs, u"gone.txt"_qs);
    f.files.renameFault = [](const QString &from, const QString &) {
        return from.endsWith(u"/held.txt"_qs) ? EBUSY : 0;
    };
    f.user.answers << MessageAnswer::Ok << MessageAnswer::No;

    QVERIFY(ExecuteRename(f.context, false));

    QCOMPARE(f.read(u"held.txt"_qs), QByteArray("H"));
    QCOMPARE(f.read(u"free2.txt"_qs), QByteArray("F"));
    const QString log = errorLogOf(f.user);
    QVERIFY(log.contains(u"☆事前処理エラー 1\r\n元の名 = held.txt\r\n置換後 = held2.txt\r\n"_qs
                         + FsStatus::fromErrno(EBUSY).text() + u"\r\n\r\n"_qs));
    QVERIFY(log.contains(u"☆事前処理エラー 3\r\n"_qs));
    QVERIFY(!log.contains(u"★"_qs));
    // The second pass never touches rows whose first step failed.
    QCOMPARE(f.files.renames.filter(u"held"_qs).size(), 1);
    QCOMPARE(f.rows.row(1)[RenameField::CurrentName], u"held.txt"_qs);
}

void TestExecuteRename::doubleFailureNamesTheTemporaryName()
{
    EngineFixture f;
    f.write(u"a"_qs, "A");
    f.write(u"b"_qs, "B");
    f.write(u"c"_qs, "blocker");
    // a takes b's name; b cannot become c (taken), and its old name is now a's.
    f.addRow(u"a"_qs, u"b"_qs);
    f.addRow(u"b"_qs, u"c"_qs);
    f.user.answers << MessageAnswer::Ok << MessageAnswer::No;

    QVERIFY(ExecuteRename(f.context, false));

    const QString parked = f.rows.row(2)[RenameField::TempName];
    QVERIFY(QFile::exists(parked));
    QCOMPARE(f.read(FileNameOf(parked)), QByteArray("B"));
    QCOMPARE(f.read(u"b"_qs), QByteArray("A"));
    QCOMPARE(f.read(u"c"_qs), QByteArray("blocker"));
    // The row names the item where it lies, and can still bring it back.
    QCOMPARE(f.rows.row(2)[RenameField::Path], parked);
    QCOMPARE(f.rows.row(2)[RenameField::OriginalName], u"b"_qs);
    const QString log = errorLogOf(f.user);
    QVERIFY(log.contains(u"★変更処理エラー 2\r\n"_qs));
    QVERIFY(log.contains(parked + u"\r\n"_qs));
    QVERIFY(!f.files.replacedSomething);
}

void TestExecuteRename::namesTooLongForTheFileSystem()
{
    EngineFixture f;
    const QString longOld = QString(255, u'o');
    const QString longKana = QString(85, u'あ'); // 255 bytes
    f.write(longOld, "L");
    f.write(longKana, "K");
    f.write(u"short"_qs, "S");
    // Their temporary names would be too long: they are parked under shorter ones.
    f.addRow(longOld, longKana);
    f.addRow(longKana, u"x"_qs);
    f.addRow(u"short"_qs, QString(300, u'n')); // its new name is too long
    f.user.answers << MessageAnswer::Ok << MessageAnswer::No;

    QVERIFY(ExecuteRename(f.context, false));
    QCOMPARE(f.read(longKana), QByteArray("L"));
    QCOMPARE(f.read(u"x"_qs), QByteArray("K"));
    QCOMPARE(f.read(u"short"_qs), QByteArray("S"));
    QCOMPARE(entriesOf(f.dir.path()).size(), 3);
    const QString log = errorLogOf(f.user);
    QVERIFY(!log.contains(u"☆事前処理エラー"_qs));
    QVERIFY(log.contains(u"★変更処理エラー 3\r\n"_qs));
    QVERIFY(log.contains(QString::number(ENAMETOOLONG) + u' '));
}

void TestExecuteRename::namesThatLeaveTheFolderAreRefused()
{
    EngineFixture f;
    QVERIFY(QDir(f.dir.path()).mkdir(u"sub"_qs));
    const QStringList planned{u"../up"_qs, u"sub/in"_qs, QString(), u".."_qs};
    for (int i = 0; i < planned.size(); ++i) {
        f.write(QString::number(i), "x");
        f.addRow(QString::number(i), planned[i]);
    }
    f.user.answers << MessageAnswer::Ok << MessageAnswer::No;
    QVERIFY(ExecuteRename(f.context, false));
    QCOMPARE(entriesOf(f.dir.path()), (QStringList{u"0"_qs, u"1"_qs, u"2"_qs, u"3"_qs, u"sub"_qs}));
    QVERIFY(entriesOf(f.path(u"sub"_qs)).isEmpty());
    QVERIFY(f.files.renames.isEmpty());
    QCOMPARE(errorLogOf(f.user).count(u"☆事前処理エラー "_qs), 4);
}

void TestExecuteRename::stopInEitherPassLeavesNothingParked_data()
{
    QTest::addColumn<int>("stopAt");
    QTest::addColumn<bool>("renamed");
    QTest::newRow("first pass") << 2 << false;
    QTest::newRow("second pass") << 6 << true;
}

// A stop in the first pass takes every parked item back; one in the second
// pass finishes it. Either way the run fails and says it was stopped.
void TestExecuteRename::stopInEitherPassLeavesNothingParked()
{
    QFETCH(int, stopAt);
    QFETCH(bool, renamed);
    EngineFixture f;
    const QStringList names{u"1"_qs, u"2"_qs, u"3"_qs, u"4"_qs};
    for (const QString &name : names) {
        f.write(name, name.toUtf8());
        f.addRow(name, QString::number(name.toInt() + 1));
    }
    int pumps = 0;
    f.user.onEvents = [&] { f.user.stop = ++pumps == stopAt; };
    f.user.answers << MessageAnswer::Ok << MessageAnswer::No;

    QVERIFY(ExecuteRename(f.context, false));
    for (const QString &name : names) {
        const QString now = renamed ? QString::number(name.toInt() + 1) : name;
        QCOMPARE(f.read(now), name.toUtf8());
    }
    QCOMPARE(entriesOf(f.dir.path()).size(), names.size());
    QVERIFY(errorLogOf(f.user).contains(u"☆中止"_qs));
    QCOMPARE(f.user.messages.last().title, u"異常終了"_qs);
}

// Whatever the plan, whatever fails and wherever the run is stopped, every
// item ends up exactly once under its old name, its new name, or a temporary
// name the log gives, with its content; items that are not in the list are
// never touched. Then the names come back, from the rows or from the journal alone.
void TestExecuteRename::randomPlansNeverLoseAnItem()
{
    const QStringList pool{u"a"_qs, u"b"_qs, u"c"_qs, u"A"_qs, u"B"_qs, u"d.txt"_qs, u"e.txt"_qs, u"f"_qs};
    QStringList planPool = pool;
    planPool << u"../out"_qs << QString();
    QRandomGenerator random(20261206);
    for (int plan = 0; plan < 300; ++plan) {
        EngineFixture f;
        QStringList shuffled = pool;
        std::shuffle(shuffled.begin(), shuffled.end(), random);
        const int listed = 1 + random.bounded(5);
        const int blockers = random.bounded(3);
        QMap<QString, QByteArray> strangers; // on disk, not in the list
        for (int i = 0; i < listed + blockers; ++i) {
            const QString name = shuffled[i];
            const QByteArray content = "item " + name.toUtf8() + ' ' + QByteArray::number(plan);
            f.write(name, content);
            if (i < listed)
                f.addRow(name, random.bounded(4) == 0 ? name : planPool[random.bounded(planPool.size())]);
            else
                strangers.insert(name, content);
        }
        // Items that vanish between Try and Execute.
        QSet<int> vanished;
        for (int i = 1; i <= listed; ++i) {
            if (random.bounded(10) == 0) {
                QFile::remove(f.path(f.rows.row(i)[RenameField::CurrentName]));
                vanished.insert(i);
            }
        }
        const int failPercent = QList<int>{0, 10, 40}[random.bounded(3)];
        f.files.renameFault = [&](const QString &, const QString &) {
            return int(random.bounded(100)) < failPercent ? EACCES : 0;
        };
        QList<QString> oldNames;
        for (int i = 1; i <= listed; ++i)
            oldNames << f.rows.row(i)[RenameField::CurrentName];
        f.user.answers << MessageAnswer::Ok << MessageAnswer::No;
        f.context.journalPath = f.desktopDir.filePath(u"Journal.dat"_qs);
        const int stopAt = random.bounded(4) == 0 ? 1 + random.bounded(2 * listed) : -1;
        int pumps = 0;
        f.user.onEvents = [&] { f.user.stop = ++pumps == stopAt; };

        ExecuteRename(f.context, false);

        const QString log = errorLogOf(f.user);
        QVERIFY2(!f.files.replacedSomething, qPrintable(QString::number(plan)));
        QMultiMap<QByteArray, QString> onDisk;
        for (const QString &name : entriesOf(f.dir.path()))
            onDisk.insert(f.read(name), name);
        for (auto it = strangers.cbegin(); it != strangers.cend(); ++it)
            QCOMPARE(onDisk.values(it.value()), QStringList{it.key()});
        for (int i = 1; i <= listed; ++i) {
            const RenameRow &row = f.rows.row(i);
            const QByteArray content = "item " + oldNames[i - 1].toUtf8() + ' ' + QByteArray::number(plan);
            const QStringList names = onDisk.values(content);
            const QString context = QStringLiteral("plan %1 row %2").arg(plan).arg(i);
            if (vanished.contains(i)) {
                QVERIFY2(names.isEmpty(), qPrintable(context));
                continue;
            }
            QVERIFY2(names.size() == 1, qPrintable(context));
            const QString name = names.first();
            // The row tells where the item is, unless the log does.
            if (name == row[RenameField::CurrentName])
                continue;
            QVERIFY2(!row[RenameField::TempName].isEmpty() && name == FileNameOf(row[RenameField::TempName]),
                     qPrintable(context));
            QVERIFY2(log.contains(row[RenameField::TempName]), qPrintable(context));
        }
        QCOMPARE(onDisk.size(), strangers.size() + listed - vanished.size());

        // Putting the names back brings every renamed item home.
        f.files.renameFault = nullptr;
        f.user.answers.clear();
        f.user.stop = false;
        f.user.onEvents = nullptr;
        if (plan % 2 == 1) {
            JournalRecovery recovery(f.files, f.user, f.context.journalPath);
            // Only items that vanished before the run cannot come back.
            QVERIFY2(recovery.undo() != JournalRecovery::Outcome::Partly || !vanished.isEmpty(),
                     qPrintable(QString::number(plan) + u' ' + recovery.failures().join(u'|')));
            for (int i = 1; i <= listed; ++i) {
                const QByteArray content = "item " + oldNames[i - 1].toUtf8() + ' ' + QByteArray::number(plan);
                QVERIFY2(vanished.contains(i) || f.read(oldNames[i - 1]) == content,
                         qPrintable(QStringLiteral("journal plan %1 row %2").arg(plan).arg(i)));
            }
            QCOMPARE(entriesOf(f.dir.path()).size(), strangers.size() + listed - vanished.size());
            continue;
        }
        RestoreNames(f.context);
        QVERIFY(!f.files.replacedSomething);
        for (int i = 1; i <= listed; ++i) {
            if (vanished.contains(i))
                continue;
            const RenameRow &row = f.rows.row(i);
            const QByteArray content = "item " + oldNames[i - 1].toUtf8() + ' ' + QByteArray::number(plan);
            const QString context = QStringLiteral("restore plan %1 row %2").arg(plan).arg(i);
            if (f.read(oldNames[i - 1]) == content)
                continue;
            // Only an item a double failure left under its temporary name stays there.
            QVERIFY2(f.read(FileNameOf(row[RenameField::TempName])) == content, qPrintable(context));
        }
        QCOMPARE(entriesOf(f.dir.path()).size(), strangers.size() + listed - vanished.size());
    }
}

// No single call may name this folder by its path: every level is made and
// removed relative to the one above, as Corvane must work in it.
void TestExecuteRename::folderDeeperThanAPathMayBe()
{
    EngineFixture f;
    const QString level(200, u'd');
    std::vector<int> levels{::open(QFile::encodeName(f.dir.path()).constData(), O_PATH | O_DIRECTORY)};
    QString deep = f.dir.path();
    while (deep.size() <= 4200) {
        QCOMPARE(::mkdirat(levels.back(), qPrintable(level), 0700), 0);
        levels.push_back(::openat(levels.back(), qPrintable(level), O_PATH | O_DIRECTORY));
        deep += u'/' + level;
    }
    for (const char *name : {"a", "b"})
        QCOMPARE(::close(::openat(levels.back(), name, O_CREAT | O_WRONLY, 0600)), 0);
    const auto inode = [&](const char *name) {
        struct stat st = {};
        ::fstatat(levels.back(), name, &st, 0);
        return st;
    };
    const ino_t a = inode("a").st_ino;

    LoaderState loader;
    QVERIFY(!LoadFromFolder(f.context, loader, deep, false));
    QCOMPARE(f.rows.count(), 2);
    QCOMPARE(f.rows.field(1, RenameField::Folder), deep);
    std::swap(f.rows.editRow(1)[RenameField::NewName], f.rows.editRow(2)[RenameField::NewName]);
    QVERIFY(!ExecuteRename(f.context, true));
    QCOMPARE(inode("b").st_ino, a);
    QCOMPARE(f.files.renames.size(), 4);

    f.context.job = JobKind::ModifiedDate;
    for (int i = 1; i <= 2; ++i)
        f.rows.editRow(i)[RenameField::Modified] = u"2001/02/03 04:05:06"_qs;
    QVERIFY(!ExecuteRename(f.context, true));
    QCOMPARE(qint64(inode("a").st_mtime), QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)).toSecsSinceEpoch());

    QCOMPARE(::unlinkat(levels.back(), "a", 0) + ::unlinkat(levels.back(), "b", 0), 0);
    for (size_t i = levels.size() - 1; i > 0; --i) {
        ::close(levels[i]);
        QCOMPARE(::unlinkat(levels[i - 1], qPrintable(level), AT_REMOVEDIR), 0);
    }
    ::close(levels.front());
}

QTEST_GUILESS_MAIN(TestExecuteRename)
#include "tst_executerename.moc"
