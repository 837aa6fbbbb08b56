#include "engine/load/fileload.h"
#include "engine/load/loaderstate.h"
#include "engine/run/executerename.h"
#include "engine/run/filedate.h"
#include "engine/run/journalrecovery.h"
#include "engine/run/renamepasses.h"
#include "engine/run/restore.h"

#include "enginefixture.h"
#include "platform/codepage.h"
#include "platform/displaytext.h"
#include "platform/messagerequest.h"
#include "platform/pathtext.h"
#include "tags/exiv2reader.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTest>

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
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

constexpr qint64 epochAsFileTime = 116444736000000000;

qint64 fileTimeOfUtc(const QString &utc)
{
    const QDateTime time = QDateTime::fromString(utc, Qt::ISODate);
    return epochAsFileTime + time.toSecsSinceEpoch() * 10000000;
}

void useTimeZone(const char *zone)
{
    qputenv("TZ", zone);
    ::tzset();
}

const QString stamp = u"2010/05/01 08:00:00"_qs;

// A file of the work folder, listed with the stamp the job should give it.
void addStamped(EngineFixture &f, const QString &name, RenameField field)
{
    f.write(name, "x");
    f.addRow(name, name);
    f.rows.editRow(f.rows.count()).set(field, stamp);
}

} // namespace

class TestExecuteRename : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { useTimeZone("UTC"); }

    void exchangesAndShifts_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("planned");

        QTest::newRow("exchange") << QStringList{u"a.txt"_qs, u"b.txt"_qs} << QStringList{u"b.txt"_qs, u"a.txt"_qs};
        QTest::newRow("shift") << QStringList{u"1"_qs, u"2"_qs, u"3"_qs} << QStringList{u"2"_qs, u"3"_qs, u"4"_qs};
        QTest::newRow("cycle") << QStringList{u"x"_qs, u"y"_qs, u"z"_qs} << QStringList{u"y"_qs, u"z"_qs, u"x"_qs};
        QTest::newRow("case only") << QStringList{u"readme.txt"_qs} << QStringList{u"README.TXT"_qs};
    }

    void exchangesAndShifts()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, planned);
        EngineFixture f;
        for (int i = 0; i < names.size(); ++i)
            f.addFile(names[i], planned[i]);

        QVERIFY(!f.execute(false));

        for (int i = 0; i < names.size(); ++i) {
            QCOMPARE(f.read(planned[i]), names[i].toUtf8());
            const RenameRow &row = f.rows.row(i + 1);
            QCOMPARE(row[RenameField::CurrentName], planned[i]);
            QCOMPARE(row[RenameField::OriginalName], names[i]);
            QCOMPARE(row[RenameField::Path], f.path(planned[i]));
            QVERIFY(!row.selected);
        }
        QCOMPARE(entriesOf(f.dir.path()).size(), names.size());
        QVERIFY(!f.files.replacedSomething && f.states.restoreFileNameEnabled());
        QVERIFY(!f.states.tryEnabled() && !f.states.executeEnabled() && !f.states.restoreEnabled());
        const QString count = QString::number(names.size());
        QCOMPARE(f.user.prompts(), (QStringList{u"指定の名前に書き換えます。宜しいですか？"_qs,
                                                u"変換完了\r\n名前を変更した項目："_qs + count + u" 件（全 "_qs + count
                                                    + u" 件中）\r\n\r\nフォルダを開きますか？"_qs}));
        QCOMPARE(f.desktop.opened, QStringList{f.dir.path()});
    }

    void declinedConfirmationChangesNothing()
    {
        EngineFixture f;
        f.addFile(u"a"_qs, u"b"_qs);
        f.states.setUndoable(true);
        f.user.answers << MessageAnswer::Cancel;

        QVERIFY(!f.execute(false));
        QCOMPARE(f.read(u"a"_qs), "a");
        QVERIFY(f.files.renames.isEmpty() && !f.states.restoreFileNameEnabled());
    }

    // With every question answered yes, the log of the failures is saved on the
    // desktop in CP932; where it cannot be, the user is told.
    void targetOnDiskIsNeverReplaced()
    {
        EngineFixture f;
        f.write(u"taken.txt"_qs, "T");
        f.addFile(u"a.txt"_qs, u"taken.txt"_qs);
        f.addFile(u"c.txt"_qs, u"d.txt"_qs);

        QVERIFY(f.execute(false));

        QCOMPARE(f.read(u"a.txt"_qs), "a.txt");
        QCOMPARE(f.read(u"taken.txt"_qs), "T");
        QCOMPARE(f.read(u"d.txt"_qs), "c.txt");
        QVERIFY(!f.files.replacedSomething);
        const RenameRow &failed = f.rows.row(1);
        QCOMPARE(failed[RenameField::CurrentName], u"a.txt"_qs);
        QVERIFY(failed[RenameField::OriginalName].isEmpty() && failed.selected && !f.rows.row(2).selected);

        const QString entry = u"★変更処理エラー 1\r\n元の名 = a.txt\r\n置換後 = taken.txt\r\n"_qs + QString::number(EEXIST)
                              + u' ' + FsStatus::fromErrno(EEXIST).description + u"\r\n\r\n"_qs;
        QCOMPARE(errorLogOf(f.user), u"ファイルリネームでエラーが発生しました！\r\n\r\n"_qs + entry
                                         + u"\r\nこのエラーログをファイルに保存しますか？"_qs);
        const QString saved = f.desktopDir.filePath(u"Errlog.txt"_qs);
        QFile file(saved);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(CodePage::fromCp932(file.readAll()), entry);
        QCOMPARE(f.user.messages[2].title, u"ファイル出力完了"_qs);
        QCOMPARE(f.user.messages[2].prompt, u"下記のファイルとして保存しました。\r\n\r\n"_qs + saved);
        QCOMPARE(f.user.messages.last().prompt, u"置換処理は正常には完了しませんでした\r\n\r\n"
                                                u"名前を変更した項目：1 件（全 2 件中）、変更できなかった項目：1 件"_qs);
        QCOMPARE(f.user.messages.last().title, u"異常終了"_qs);
        QVERIFY(f.user.messages.last().plain && f.desktop.opened.isEmpty());

        EngineFixture g;
        g.desktop.folder = g.desktopDir.filePath(u"no such folder"_qs);
        g.write(u"b"_qs, "B");
        g.addFile(u"a"_qs, u"b"_qs);
        QVERIFY(g.execute(false));
        QCOMPARE(g.user.messages[2].title, u"ファイル出力失敗"_qs);
        QVERIFY(g.user.messages[2].prompt.startsWith(u"下記のファイルに保存できませんでした。"_qs));
        QCOMPARE(g.user.messages[3].title, u"異常終了"_qs);
    }

    // Items that cannot take their first step, and names that would leave the
    // folder, are logged in the first pass and never touched again.
    void firstPassFailuresAreLogged()
    {
        EngineFixture f;
        QVERIFY(QDir(f.dir.path()).mkdir(u"sub"_qs));
        f.addFile(u"held.txt"_qs, u"held2.txt"_qs);
        f.addFile(u"free.txt"_qs, u"free2.txt"_qs);
        f.addRow(u"vanished.txt"_qs, u"gone.txt"_qs);
        const QStringList leaving{u"../up"_qs, u"sub/in"_qs, QString(), u".."_qs};
        for (int i = 0; i < leaving.size(); ++i)
            f.addFile(QString::number(i), leaving[i]);
        f.files.renameFault = [](const QString &from, const QString &) {
            return from.endsWith(u"/held.txt"_qs) ? EBUSY : 0;
        };
        f.user.answers << MessageAnswer::Ok << MessageAnswer::No;

        QVERIFY(f.execute(false));

        QCOMPARE(f.read(u"held.txt"_qs), "held.txt");
        QCOMPARE(f.read(u"free2.txt"_qs), "free.txt");
        QCOMPARE(entriesOf(f.dir.path()),
                 (QStringList{u"0"_qs, u"1"_qs, u"2"_qs, u"3"_qs, u"free2.txt"_qs, u"held.txt"_qs, u"sub"_qs}));
        QVERIFY(entriesOf(f.path(u"sub"_qs)).isEmpty());
        const QString log = errorLogOf(f.user);
        QVERIFY(log.contains(u"☆事前処理エラー 1\r\n元の名 = held.txt\r\n置換後 = held2.txt\r\n"_qs
                             + FsStatus::fromErrno(EBUSY).text() + u"\r\n\r\n"_qs));
        QVERIFY(log.contains(u"☆事前処理エラー 3\r\n"_qs) && !log.contains(u"★"_qs));
        QCOMPARE(log.count(u"☆事前処理エラー "_qs), 6);
        // Held and vanished are tried once, free moves in two steps, the
        // leaving names are never tried.
        QCOMPARE(f.files.renames.size(), 4);
        QCOMPARE(f.files.renames.filter(u"held"_qs).size(), 1);
        QCOMPARE(f.rows.row(1)[RenameField::CurrentName], u"held.txt"_qs);
    }

    void doubleFailureNamesTheTemporaryName()
    {
        EngineFixture f;
        f.write(u"c"_qs, "blocker");
        // a takes b's name; b cannot become c (taken), and its old name is now a's.
        f.addFile(u"a"_qs, u"b"_qs);
        f.addFile(u"b"_qs, u"c"_qs);
        f.user.answers << MessageAnswer::Ok << MessageAnswer::No;

        QVERIFY(f.execute(false));

        const QString parked = f.rows.row(2)[RenameField::TempName];
        QCOMPARE(f.read(FileNameOf(parked)), "b");
        QCOMPARE(f.read(u"b"_qs), "a");
        QCOMPARE(f.read(u"c"_qs), "blocker");
        // The row names the item where it lies, and can still bring it back.
        QCOMPARE(f.rows.row(2)[RenameField::Path], parked);
        QCOMPARE(f.rows.row(2)[RenameField::OriginalName], u"b"_qs);
        const QString log = errorLogOf(f.user);
        QVERIFY(log.contains(u"★変更処理エラー 2\r\n"_qs) && log.contains(parked + u"\r\n"_qs) && !f.files.replacedSomething);
    }

    void namesTooLongForTheFileSystem()
    {
        EngineFixture f;
        const QString longOld = QString(255, u'o');
        const QString longKana = QString(85, u'あ'); // 255 bytes
        // Their temporary names would be too long: they are parked under shorter ones.
        f.addFile(longOld, longKana);
        f.addFile(longKana, u"x"_qs);
        f.addFile(u"short"_qs, QString(300, u'n')); // its new name is too long
        f.user.answers << MessageAnswer::Ok << MessageAnswer::No;

        QVERIFY(f.execute(false));
        QCOMPARE(f.read(longKana), longOld.toUtf8());
        QCOMPARE(f.read(u"x"_qs), longKana.toUtf8());
        QCOMPARE(f.read(u"short"_qs), "short");
        QCOMPARE(entriesOf(f.dir.path()).size(), 3);
        // A new name too long is refused before anything moves, so no journal ever holds one.
        const QString log = errorLogOf(f.user);
        QVERIFY(log.startsWith(u"ファイルリネームでエラーが発生しました！\r\n\r\n☆事前処理エラー 3\r\n"_qs));
        QVERIFY(log.contains(QString::number(ENAMETOOLONG) + u' ') && !log.contains(u"★"_qs));
        // A name of any length is shortened in one walk along it.
        QCOMPARE(ParkName(u"tmp00001_"_qs, QString(1 << 20, u'ü'), {}, 7).toUtf8().size(), 255);
    }

    // A mark that does not reach the disk stops the run: every parked item goes
    // back and the run fails. Killed at any moment of that (chosen by how many
    // items the disk still shows parked), the journal puts every item back.
    void unwrittenMarkStopsTheRun_data()
    {
        QTest::addColumn<int>("killWhenParked");
        QTest::newRow("no kill") << -1;
        QTest::newRow("kill at once") << 6;
        QTest::newRow("kill half way back") << 3;
    }

    void unwrittenMarkStopsTheRun()
    {
        QFETCH(int, killWhenParked);
        EngineFixture f;
        std::vector<JournalItem> items;
        for (int i = 1; i <= 6; ++i) {
            const QString name = QString::number(i);
            f.write(name, name.toUtf8());
            items.push_back({f.dir.path(), name, u"tmp00001_"_qs + name, QString::number(i + 1)});
        }
        auto file = std::make_unique<FaultyJournalFile>();
        FaultyJournalFile &journalFile = *file;
        journalFile.failAt = 2; // the plan is the first write, the second-pass mark the next
        const QString path = f.desktopDir.filePath(u"Journal.dat"_qs);
        RunJournal journal(path, false, std::move(file));
        f.files.renameFault = [&](const QString &, const QString &) {
            const qsizetype parked = QDir(f.dir.path()).entryList({u"tmp*"_qs}).size();
            journalFile.dead = journalFile.dead || (journalFile.writes >= 2 && parked == killWhenParked);
            return journalFile.dead ? EIO : 0;
        };
        RenamePasses passes(f.files, f.user, journal, JournalRecord::Kind::Execute);
        std::vector<MoveResult> results;
        QVERIFY(passes.run(items, &results).startsWith(QString::number(EIO) + u' '));
        QCOMPARE(int(results.size()), 6);
        f.files.renameFault = nullptr;
        // A stop asked for meanwhile (Ctrl+C, SIGTERM) does not cut a recovery short.
        f.user.stop = true;
        JournalRecovery recovery(f.files, f.user, path);
        QVERIFY2(recovery.undo() != JournalRecovery::Outcome::Partly, qPrintable(recovery.failures().join(u'|')));
        for (int i = 1; i <= 6; ++i)
            QCOMPARE(f.read(QString::number(i)), QByteArray::number(i));
        QCOMPARE(entriesOf(f.dir.path()).size(), 6);
    }

    // A journal is checked whole before anything moves: one that would take an
    // item out of its folder, or does not add up, is refused and names itself.
    void plantedJournalsAreRefused_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<bool>("usable");
        const QString item = u"Ia"_qs;
        const QString park = u"-tmp00001_a"_qs;
        QTest::newRow("sound") << QStringList{u"F{in}"_qs, item, park, u"-b"_qs, u"B"_qs, u"P"_qs} << true;
        QTest::newRow("parent in a name") << QStringList{u"F{in}"_qs, item, park, u"-../out/keep"_qs, u"B"_qs} << false;
        QTest::newRow("absolute name") << QStringList{u"F{in}"_qs, item, park, u"-{out}/keep"_qs, u"B"_qs} << false;
        QTest::newRow("relative folder") << QStringList{u"Fin"_qs, item, park, u"-b"_qs, u"B"_qs} << false;
        QTest::newRow("folder through ..") << QStringList{u"F{in}/../out"_qs, u"Ikeep"_qs, park, u"-b"_qs, u"B"_qs}
                                           << false;
        QTest::newRow("foreign parking name") << QStringList{u"F{in}"_qs, item, u"-a##"_qs, u"-b"_qs, u"B"_qs} << false;
        QTest::newRow("name too long") << QStringList{u"F{in}"_qs, item, park, u"-"_qs + QString(256, u'b'), u"B"_qs}
                                       << false;
        QTest::newRow("failure of no item") << QStringList{u"F{in}"_qs, item, park, u"-b"_qs, u"B"_qs, u"X1 1"_qs} << false;
        QTest::newRow("marks out of order") << QStringList{u"F{in}"_qs, item, park, u"-b"_qs, u"P"_qs, u"B"_qs} << false;
    }

    void plantedJournalsAreRefused()
    {
        QFETCH(QStringList, fields);
        QFETCH(bool, usable);
        EngineFixture f;
        QVERIFY(QDir(f.dir.path()).mkpath(u"in"_qs) && QDir(f.dir.path()).mkpath(u"out"_qs));
        f.write(u"in/b"_qs, "moved");
        f.write(u"out/keep"_qs, "theirs");
        QByteArray bytes = "CORVANE JOURNAL 1\nexecute\n";
        for (QString field : fields)
            bytes += field.replace(u"{in}"_qs, f.path(u"in"_qs)).replace(u"{out}"_qs, f.path(u"out"_qs)).toUtf8() + '\0';
        const QString path = f.desktopDir.filePath(u"Journal.dat"_qs);
        QFile journal(path);
        QVERIFY(journal.open(QIODevice::WriteOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        journal.write(bytes);
        journal.close();

        JournalRecovery recovery(f.files, f.user, path);
        const JournalRecovery::Outcome outcome = recovery.undo();
        QCOMPARE(outcome, usable ? JournalRecovery::Outcome::Done : JournalRecovery::Outcome::Partly);
        QCOMPARE(f.read(usable ? u"in/a"_qs : u"in/b"_qs), "moved");
        QCOMPARE(f.read(u"out/keep"_qs), "theirs");
        QCOMPARE(entriesOf(f.path(u"in"_qs)).size() + entriesOf(f.path(u"out"_qs)).size(), 2);
        if (!usable)
            QVERIFY(recovery.failures().join(u'|').startsWith(u"記録ファイルを使えません"_qs)
                    && recovery.failures().join(u'|').endsWith(path));
    }

    void stopInEitherPassLeavesNothingParked_data()
    {
        QTest::addColumn<int>("stopAt");
        QTest::addColumn<bool>("renamed");
        QTest::newRow("first pass") << 2 << false;
        QTest::newRow("second pass") << 6 << true;
    }

    // A stop in the first pass takes every parked item back, and the run
    // fails; one in the second pass finishes it, and the run says so.
    void stopInEitherPassLeavesNothingParked()
    {
        QFETCH(int, stopAt);
        QFETCH(bool, renamed);
        EngineFixture f;
        const QStringList names{u"1"_qs, u"2"_qs, u"3"_qs, u"4"_qs};
        for (const QString &name : names)
            f.addFile(name, QString::number(name.toInt() + 1));
        int pumps = 0;
        f.user.onEvents = [&] { f.user.stop = ++pumps == stopAt; };
        f.user.answers << MessageAnswer::Ok << MessageAnswer::No;

        QCOMPARE(f.execute(false), !renamed);
        for (int i = 1; i <= names.size(); ++i) {
            const QString &name = names[i - 1];
            const QString now = renamed ? QString::number(name.toInt() + 1) : name;
            QCOMPARE(f.read(now), name.toUtf8());
            // Each row names its item where it now lies, and the parking place it had.
            const RenameRow &row = f.rows.row(i);
            QCOMPARE(row[RenameField::CurrentName], now);
            QCOMPARE(row[RenameField::OriginalName], renamed ? name : QString());
            QVERIFY(row[RenameField::TempName].startsWith(f.dir.path() + u"/tmp"_qs));
            QVERIFY(row[RenameField::TempName].endsWith(u'_' + name));
        }
        QCOMPARE(entriesOf(f.dir.path()).size(), names.size());
        QCOMPARE(errorLogOf(f.user).contains(u"☆中止"_qs), !renamed);
        QCOMPARE(f.user.messages.last().prompt,
                 renamed ? u"変換完了\r\n中止が指示されましたが、第2段階に入っていたため全 4 件の変更を完了しました\r\n\r\n"
                           u"フォルダを開きますか？"_qs
                         : u"置換処理は正常には完了しませんでした\r\n\r\n中止しました。名前を変更した項目：0 件（全 4 件中）"_qs);
    }

    // Where the file system refuses RENAME_NOREPLACE and hard links, files and
    // folders still move, exchanges and cycles included, and nothing is
    // replaced. Each folder's way is found once, at its first rename.
    void fileSystemWithoutSafeRenames()
    {
        EngineFixture f;
        f.files.refuseNoReplace = f.files.refuseLinks = true;
        f.addFile(u"a.txt"_qs, u"b.txt"_qs);
        f.addFile(u"b.txt"_qs, u"a.txt"_qs);
        const QStringList folders{u"d1"_qs, u"d2"_qs, u"d3"_qs};
        for (int i = 0; i < 3; ++i) {
            QVERIFY(QDir(f.dir.path()).mkpath(folders[i] + u"/in"_qs + folders[i]));
            f.addRow(folders[i], folders[(i + 1) % 3]);
        }
        f.write(u"taken"_qs, "T");
        f.addFile(u"c"_qs, u"taken"_qs);
        QVERIFY(QDir(f.dir.path()).mkdir(u"sub"_qs));
        f.write(u"sub/x"_qs, "x");
        RenameRow inSub = listedRow(u"x"_qs, f.path(u"sub"_qs));
        inSub.set(RenameField::NewName, u"y"_qs);
        f.rows.append(inSub);
        f.user.answerSafely = true;

        QVERIFY(f.execute(true));

        QCOMPARE(f.read(u"a.txt"_qs) + f.read(u"b.txt"_qs), "b.txta.txt");
        for (const QString &inside : {u"d2/ind1"_qs, u"d3/ind2"_qs, u"d1/ind3"_qs})
            QVERIFY2(QFileInfo(f.path(inside)).isDir(), qPrintable(inside));
        QCOMPARE(f.read(u"taken"_qs) + f.read(u"c"_qs) + f.read(u"sub/y"_qs), "Tcx");
        QVERIFY(!f.files.replacedSomething);
        QCOMPARE(f.files.noReplaceTries, 2);
        QCOMPARE(f.files.linkTries, 2);
    }

    // Whatever the plan, whatever fails and wherever the run is stopped, every
    // item ends up exactly once under its old name, its new name, or a temporary
    // name the log gives, with its content; items that are not in the list are
    // never touched. Then the names come back, from the rows or from the journal alone.
    void randomPlansNeverLoseAnItem()
    {
        const QStringList pool{u"a"_qs, u"b"_qs, u"c"_qs, u"A"_qs, u"B"_qs, u"d.txt"_qs, u"e.txt"_qs, u"f"_qs};
        const QStringList planPool = pool + QStringList{u"../out"_qs, QString()};
        QRandomGenerator random(20261206);
        for (int plan = 0; plan < 300; ++plan) {
            EngineFixture f;
            QStringList shuffled = pool;
            std::shuffle(shuffled.begin(), shuffled.end(), random);
            const int listed = 1 + random.bounded(5);
            const int blockers = random.bounded(3);
            const auto contentOf = [plan](const QString &name) -> QByteArray {
                return "item " + name.toUtf8() + ' ' + QByteArray::number(plan);
            };
            QMap<QString, QByteArray> strangers; // on disk, not in the list
            for (int i = 0; i < listed + blockers; ++i) {
                f.write(shuffled[i], contentOf(shuffled[i]));
                if (i < listed)
                    f.addRow(shuffled[i], random.bounded(4) == 0 ? shuffled[i] : planPool[random.bounded(planPool.size())]);
                else
                    strangers.insert(shuffled[i], contentOf(shuffled[i]));
            }
            // Items that vanish between Try and Execute.
            QSet<int> vanished;
            for (int i = 1; i <= listed; ++i) {
                if (random.bounded(10) == 0 && QFile::remove(f.path(shuffled[i - 1])))
                    vanished.insert(i);
            }
            const int failPercent = QList<int>{0, 10, 40}[random.bounded(3)];
            // Some plans on file systems that refuse RENAME_NOREPLACE, or hard links too.
            f.files.refuseNoReplace = plan % 3 != 0;
            f.files.refuseLinks = plan % 3 == 2;
            f.files.renameFault = [&](const QString &, const QString &) {
                return int(random.bounded(100)) < failPercent ? EACCES : 0;
            };
            f.user.answers << MessageAnswer::Ok << MessageAnswer::No;
            f.context.journalPath = f.desktopDir.filePath(u"Journal.dat"_qs);
            const int stopAt = random.bounded(4) == 0 ? 1 + random.bounded(2 * listed) : -1;
            int pumps = 0;
            f.user.onEvents = [&] { f.user.stop = ++pumps == stopAt; };

            f.execute(false);

            const QString log = errorLogOf(f.user);
            const QString context = QStringLiteral("plan %1 ").arg(plan);
            QVERIFY2(!f.files.replacedSomething, qPrintable(context));
            QMultiMap<QByteArray, QString> onDisk;
            for (const QString &name : entriesOf(f.dir.path()))
                onDisk.insert(f.read(name), name);
            for (auto it = strangers.cbegin(); it != strangers.cend(); ++it)
                QCOMPARE(onDisk.values(it.value()), QStringList{it.key()});
            for (int i = 1; i <= listed; ++i) {
                const RenameRow &row = f.rows.row(i);
                const QStringList names = onDisk.values(contentOf(shuffled[i - 1]));
                QVERIFY2(names.size() == (vanished.contains(i) ? 0 : 1), qPrintable(context + shuffled[i - 1]));
                // The row tells where the item is, unless the log does.
                const QString parked = row[RenameField::TempName];
                if (!names.isEmpty() && names.first() != row[RenameField::CurrentName])
                    QVERIFY2(!parked.isEmpty() && names.first() == FileNameOf(parked) && log.contains(parked),
                             qPrintable(context + shuffled[i - 1]));
            }
            const qsizetype present = strangers.size() + listed - vanished.size();
            QCOMPARE(onDisk.size(), present);

            // Putting the names back, from the journal alone or from the rows,
            // brings every renamed item home.
            f.files.renameFault = nullptr;
            f.user.answers.clear();
            f.user.stop = false;
            f.user.onEvents = nullptr;
            const bool fromJournal = plan % 2 == 1;
            if (fromJournal) {
                JournalRecovery recovery(f.files, f.user, f.context.journalPath);
                // Only items that vanished before the run cannot come back.
                QVERIFY2(recovery.undo() != JournalRecovery::Outcome::Partly || !vanished.isEmpty(),
                         qPrintable(context + recovery.failures().join(u'|')));
            } else {
                f.restoreNames();
                QVERIFY(!f.files.replacedSomething);
            }
            for (int i = 1; i <= listed; ++i) {
                const QByteArray content = contentOf(shuffled[i - 1]);
                // From the rows, an item a double failure left under its temporary name stays there.
                QVERIFY2(vanished.contains(i) || f.read(shuffled[i - 1]) == content
                             || (!fromJournal && f.read(FileNameOf(f.rows.row(i)[RenameField::TempName])) == content),
                         qPrintable(context + u"restore "_qs + shuffled[i - 1]));
            }
            QCOMPARE(entriesOf(f.dir.path()).size(), present);
        }
    }

    // Names come back by the name on disk, whatever a later Try planned: an
    // exchange without replacing, an item renamed two runs ago to that name;
    // rows without an earlier name stay.
    void namesComeBackAfterAnExchange()
    {
        EngineFixture f;
        f.addFile(u"a.txt"_qs, u"b.txt"_qs);
        f.addFile(u"b.txt"_qs, u"a.txt"_qs);
        f.addFile(u"c.txt"_qs, u"c.txt"_qs);
        f.addFile(u"d"_qs, u"d2"_qs);
        QVERIFY(!f.execute(true));
        f.rows.editRow(1).set(RenameField::NewName, u"d2"_qs);
        f.rows.editRow(4).set(RenameField::NewName, u"b.txt"_qs);
        f.addFile(u"y"_qs, u"y"_qs);
        f.rows.editRow(5).set(RenameField::OriginalName, u"older"_qs);

        f.restoreNames();

        for (const QString &name : {u"a.txt"_qs, u"b.txt"_qs, u"c.txt"_qs, u"d"_qs})
            QCOMPARE(f.read(name), name.toUtf8());
        QCOMPARE(f.read(u"older"_qs), "y");
        QVERIFY(!f.files.replacedSomething);
        for (int i = 1; i <= 2; ++i) {
            const RenameRow &row = f.rows.row(i);
            QVERIFY(row[RenameField::OriginalName].isEmpty());
            QCOMPARE(row[RenameField::NewName], row[RenameField::CurrentName]);
        }
        QCOMPARE(f.rows.row(1)[RenameField::CurrentName], u"a.txt"_qs);
        QCOMPARE(f.user.prompts(), QStringList{u"実行前のファイル名に戻します。よろしいですか？"_qs});
        QVERIFY(!f.states.restoreFileNameEnabled());
    }

    void declinedOrNothingToDo()
    {
        EngineFixture f;
        f.addFile(u"new"_qs, u"new"_qs);
        f.rows.editRow(1).set(RenameField::OriginalName, u"old"_qs);
        f.states.setUndoable(true);
        f.user.answers << MessageAnswer::Cancel;
        f.restoreNames();
        QCOMPARE(f.read(u"new"_qs), "new");
        QVERIFY(!f.states.restoreFileNameEnabled());

        EngineFixture g;
        g.addRow(u"missing"_qs, u"missing"_qs);
        g.rows.editRow(1).set(RenameField::OriginalName, u"old"_qs);
        g.states.setUndoable(true);
        g.restoreNames();
        QVERIFY(g.user.messages.isEmpty() && g.states.restoreFileNameEnabled());
    }

    void failuresAreShownUntilTheUserDeclines()
    {
        EngineFixture f;
        for (const QString &name : {u"p"_qs, u"q"_qs, u"r"_qs}) {
            f.addFile(name, name);
            f.rows.editRow(f.rows.count()).set(RenameField::OriginalName, name + u"0"_qs);
        }
        f.files.renameFault = [](const QString &from, const QString &) {
            return from.endsWith(u"/q"_qs) || from.endsWith(u"/r"_qs) ? EACCES : 0;
        };
        f.user.answers << MessageAnswer::Ok << MessageAnswer::No;

        f.restoreNames();
        QCOMPARE(f.user.messages.size(), 2);
        QVERIFY(f.user.messages[1].prompt.startsWith(FsStatus::fromErrno(EACCES).text()));
        QCOMPARE(f.user.messages[1].title, u"エラーメッセージを続けて表示しますか？"_qs);
        QVERIFY(f.user.messages[1].prompt.contains(f.path(u"q0"_qs)) && f.user.messages[1].prompt.contains(f.path(u"q"_qs)));
        QCOMPARE(f.read(u"p0"_qs), "p");
        QCOMPARE(f.read(u"q"_qs), "q");
        QCOMPARE(f.rows.row(1)[RenameField::Path], f.path(u"p0"_qs));
        QCOMPARE(f.rows.row(2)[RenameField::OriginalName], u"q0"_qs);
        // The items not back can be tried again.
        QVERIFY(f.states.restoreFileNameEnabled());
        f.files.renameFault = nullptr;
        f.restoreNames();
        QCOMPARE(f.read(u"r0"_qs), "r");
    }

    void restoreListDropsThePlan()
    {
        EngineFixture f;
        f.addFile(u"here"_qs, u"planned"_qs);
        f.addRow(u"gone"_qs, u"planned too"_qs);
        for (int i = 1; i <= 2; ++i) {
            f.rows.editRow(i).set(RenameField::Created, u"1999/01/01 00:00:00"_qs);
            f.rows.editRow(i).set(RenameField::Modified, u"1999/01/01 00:00:00"_qs);
        }
        f.presetPlan();

        f.restoreList();
        QCOMPARE(f.rows.row(1)[RenameField::NewName], u"here"_qs);
        QCOMPARE(f.rows.row(2)[RenameField::NewName], u"gone"_qs);
        QCOMPARE(f.rows.row(1)[RenameField::Modified], DateText(f.files.info(f.path(u"here"_qs)).modified()));
        QCOMPARE(f.rows.row(2)[RenameField::Modified], u"1999/01/01 00:00:00"_qs);
        QVERIFY(f.files.renames.isEmpty() && !f.states.executeEnabled());
    }

    void usesTheOffsetOfTheDate_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QString>("local");
        QTest::addColumn<QString>("utc");

        QTest::newRow("tokyo") << QByteArray("Asia/Tokyo") << u"2009/03/07 18:05:09"_qs << u"2009-03-07T09:05:09Z"_qs;
        QTest::newRow("berlin winter") << QByteArray("Europe/Berlin") << u"2009/01/15 12:00:00"_qs
                                       << u"2009-01-15T11:00:00Z"_qs;
        QTest::newRow("berlin summer") << QByteArray("Europe/Berlin") << u"2009/07/15 12:00:00"_qs
                                       << u"2009-07-15T10:00:00Z"_qs;
        QTest::newRow("before 1970") << QByteArray("UTC") << u"1960/01/01 00:00:00"_qs << u"1960-01-01T00:00:00Z"_qs;
    }

    void usesTheOffsetOfTheDate()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QString, local);
        QFETCH(QString, utc);
        useTimeZone(zone.constData());
        QCOMPARE(DateToFileTime(ParseDateText(local)), fileTimeOfUtc(utc));
    }

    void creationTimeThroughTheSmbAttribute()
    {
        useTimeZone("Asia/Tokyo");
        EngineFixture f;
        f.write(u"share"_qs, "S");
        const QByteArray name = QFile::encodeName(f.path(u"share"_qs));
        const char *attribute = "user.cifs.creationtime";
        if (::setxattr(name.constData(), attribute, "\0\0\0\0\0\0\0\0", 8, 0) != 0)
            QSKIP("no user attributes on this file system");

        QVERIFY(SetCreationTime(f.files, f.path(u"share"_qs), ParseDateText(u"2009/03/07 18:05:09"_qs)).ok());
        unsigned char value[8] = {};
        QCOMPARE(::getxattr(name.constData(), attribute, value, sizeof value), ssize_t(8));
        quint64 stored = 0;
        for (int i = 7; i >= 0; --i)
            stored = (stored << 8) | value[i];
        QCOMPARE(qint64(stored), fileTimeOfUtc(u"2009-03-07T09:05:09Z"_qs));
    }

    void failedTimeStampsEndAbnormally()
    {
        EngineFixture f;
        f.context.job = JobKind::ModifiedDate;
        for (const QString &name : {u"ok"_qs, u"gone"_qs, u"locked"_qs, u"garbled"_qs})
            addStamped(f, name, RenameField::Modified);
        QFile::remove(f.path(u"gone"_qs));
        f.rows.editRow(4).set(RenameField::Modified, u"2010/13/45 99:00:00"_qs);
        f.files.timeFault = [](const QString &path) { return path.endsWith(u"/locked"_qs) ? EPERM : 0; };
        f.user.answers << MessageAnswer::Ok << MessageAnswer::No;

        QVERIFY(f.execute(false));
        QCOMPARE(DateText(f.files.info(f.path(u"ok"_qs)).modified()), stamp);
        const QString log = f.user.messages[1].prompt;
        QCOMPARE(f.user.messages[1].title, u"エラー発生"_qs);
        QVERIFY(log.contains(u"★変更処理エラー 2\r\n元の名 = gone\r\n置換後 = 2010/05/01 08:00:00\r\n"_qs
                             + FsStatus::fromErrno(ENOENT).text()));
        QVERIFY(log.contains(u"★変更処理エラー 3\r\n"_qs) && log.contains(u"★変更処理エラー 4\r\n"_qs));
        QVERIFY(!log.contains(u"エラー 1\r\n"_qs));
        QCOMPARE(f.user.messages.last().title, u"異常終了"_qs);

        // Creation times on a file system without them: never "変換完了".
        EngineFixture g;
        g.context.job = JobKind::CreatedDate;
        addStamped(g, u"a"_qs, RenameField::Created);
        g.user.answers << MessageAnswer::Ok << MessageAnswer::No;
        QVERIFY(g.execute(false));
        QCOMPARE(g.user.messages.last().title, u"異常終了"_qs);
    }

    void timeStampsAreConfirmed()
    {
        EngineFixture f;
        f.context.job = JobKind::CreatedDate;
        f.context.unattended = true; // the time-stamp question is asked all the same
        addStamped(f, u"a"_qs, RenameField::Created);
        f.user.answers << MessageAnswer::Cancel;
        QVERIFY(!f.execute(false));
        QCOMPARE(f.user.messages.size(), 1);
        QCOMPARE(f.user.messages[0].prompt, u"作成日を変更します。\r\nよろしいですか？"_qs);
        QCOMPARE(f.user.messages[0].title, u"確認"_qs);
    }

    // Each file's EXIF moment, read as the local time of its date; a file
    // without one keeps its stamp and is named. Quiet, nothing is asked.
    void timeStampsFromExif()
    {
        useTimeZone("Asia/Tokyo");
        EngineFixture f;
        Exiv2Reader exif;
        f.context.exif = &exif;
        f.addPhotos();
        const QDateTime untouched = f.files.info(f.path(u"d.jpg"_qs)).modified();
        f.inputs.useExifTime = true; // and no base date
        QCOMPARE(f.plan(JobKind::ModifiedDate), TryResult::Planned);
        const QString kept = u"2019/06/06 06:06:06"_qs;
        QCOMPARE(f.column(RenameField::Modified), (QStringList{u"2024/08/15 10:30:00"_qs, u"2022/12/31 23:59:59"_qs,
                                                              u"2021/02/03 04:05:06"_qs, kept, kept}));
        QVERIFY(f.lastPlan.changing == 3 && f.lastPlan.refused == 2 && f.rows.row(5).rejection == RowRejection::NoExifTime);
        const RunOutcome run = MakeJob(JobKind::ModifiedDate, f.tags)->execute(f.context, true);
        QVERIFY2(!run.failed() && run.summary.contains(u"：2 件（d.jpg、e.jpg）"_qs), qPrintable(run.summary));
        QVERIFY(f.user.messages.isEmpty());
        QCOMPARE(f.files.info(f.path(u"a.jpg"_qs)).modified().toUTC(), QDateTime(QDate(2024, 8, 15), QTime(1, 30), Qt::UTC));
        QCOMPARE(f.files.info(f.path(u"d.jpg"_qs)).modified(), untouched);
    }

    // Renames, a time and a load in a folder whose path is longer than one
    // system call takes.
    void folderDeeperThanAPathMayBe()
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
        const QString first = f.rows.field(1, RenameField::NewName);
        f.rows.editRow(1).set(RenameField::NewName, f.rows.field(2, RenameField::NewName));
        f.rows.editRow(2).set(RenameField::NewName, first);
        QVERIFY(!f.execute(true));
        QCOMPARE(inode("b").st_ino, a);
        QCOMPARE(f.files.renames.size(), 4);

        f.context.job = JobKind::ModifiedDate;
        for (int i = 1; i <= 2; ++i)
            f.rows.editRow(i).set(RenameField::Modified, u"2001/02/03 04:05:06"_qs);
        QVERIFY(!f.execute(true));
        QCOMPARE(qint64(inode("a").st_mtime), QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)).toSecsSinceEpoch());

        QCOMPARE(::unlinkat(levels.back(), "a", 0) + ::unlinkat(levels.back(), "b", 0), 0);
        for (size_t i = levels.size() - 1; i > 0; --i) {
            ::close(levels[i]);
            QCOMPARE(::unlinkat(levels[i - 1], qPrintable(level), AT_REMOVEDIR), 0);
        }
        ::close(levels.front());
    }
};

QTEST_GUILESS_MAIN(TestExecuteRename)
#include "tst_executerename.moc"
