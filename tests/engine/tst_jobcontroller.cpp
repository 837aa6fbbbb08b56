#include "engine/control/jobcontroller.h"
#include "platform/displaytext.h"
#include "platform/linuxfilesystem.h"
#include "scripteduserchannel.h"

#include "persist/settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

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

    // Try, Execute, Restore and 元のファイル名に戻す as the window offers them.
    QString commands() const
    {
        const CommandStates &s = c.states();
        QString marks;
        for (const bool on : {s.tryEnabled(), s.executeEnabled(), s.restoreEnabled(), s.restoreFileNameEnabled()})
            marks += on ? u'1' : u'0';
        return marks;
    }

    // Everything a command could change: the job, the inputs, the options, the rows and the disk.
    QStringList snapshot() const
    {
        const JobInputs &i = c.inputs();
        const RunOptions &o = c.options();
        QStringList all{Jobs::label(c.job()), i.searchText, i.replaceText, i.baseName, i.startNo, i.digits,
                        i.step, i.separator, i.stepMinutes, c.caption(), c.tagJob().txtField[1]};
        for (const bool on : {i.addTop, i.ChkManual, o.onlyTopFolder, o.noConfirm, o.ignoreCase, o.regOrder,
                              o.noTry, c.tagJob().TagV1, c.tagJob().TagV2})
            all << QString::number(on);
        // The dates and the drawn parking prefix differ between two folders alike.
        for (const RenameRow &row : c.rows().rows())
            all << QStringList{row[RenameField::NewName], row[RenameField::CurrentName], row[RenameField::Size],
                               row[RenameField::Path], row[RenameField::OriginalName],
                               QString::number(row.selected), QString::number(int(row.rejection))}
                       .join(u'|');
        all << c.searchHistory().dropDown() << c.replaceHistory().dropDown();
        all << QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
        return all.replaceInStrings(dir.path(), u"<dir>"_qs);
    }
};

// One public command of the controller, called as a window event would call it mid-run.
struct Command
{
    const char *name;
    std::function<void(Controller &)> call;
};

const std::vector<Command> &commands()
{
    static const std::vector<Command> all{
        {"TryCommand", [](Controller &f) { f.c.TryCommand(); }},
        {"ExecuteCommand", [](Controller &f) { f.c.ExecuteCommand(); }},
        {"RestoreCommand", [](Controller &f) { f.c.RestoreCommand(); }},
        {"RestoreFileNames", [](Controller &f) { f.c.RestoreFileNames(); }},
        {"SetNoTryMode", [](Controller &f) { f.c.SetNoTryMode(true); }},
        {"SelectJob", [](Controller &f) { f.c.SelectJob(JobKind::FolderRename); }},
        {"SeedInputsFromRow", [](Controller &f) { f.c.SeedInputsFromRow(2); }},
        {"RefreshJobInputs", [](Controller &f) { f.c.RefreshJobInputs(); }},
        {"SearchTextChanged", [](Controller &f) { f.c.SearchTextChanged(); }},
        {"PreviewNames", [](Controller &f) { f.c.PreviewNames(1, 3); }},
        {"LoadFolder", [](Controller &f) { f.c.LoadFolder(QDir::tempPath()); }},
        {"ReadFiles", [](Controller &f) { f.c.ReadFiles({f.dir.filePath(u"f1.txt"_qs)}); }},
        {"ClearLists", [](Controller &f) { f.c.ClearLists(); }},
        {"SelectAllRows", [](Controller &f) { f.c.SelectAllRows(); }},
        {"MoveSelectedRows", [](Controller &f) { f.c.MoveSelectedRows(1); }},
        {"DeleteSelectedRows", [](Controller &f) { f.c.DeleteSelectedRows(); }},
        {"SortActiveList", [](Controller &f) { f.c.SortActiveList(0, true); }},
        {"DropPaths", [](Controller &f) { f.c.DropPaths({QDir::tempPath()}, 0); }},
        {"StartRowMove+DropRows", [](Controller &f) { f.c.StartRowMove(); f.c.DropRows(1); }},
        {"DeleteAllRows", [](Controller &f) { f.c.DeleteAllRows(); }},
        {"ListChanged", [](Controller &f) { f.c.ListChanged(); }},
        {"SetCurrentFolder", [](Controller &f) { f.c.SetCurrentFolder(QDir::tempPath()); }},
        {"CommandFileLoad", [](Controller &f) { f.c.CommandFileLoad(f.dir.filePath(u"job.dat"_qs)); }},
        {"CommandFileSave", [](Controller &f) { f.c.CommandFileSave(f.dir.filePath(u"saved.dat"_qs)); }},
        {"NewCommandFile", [](Controller &f) { f.c.NewCommandFile(); }},
        {"RecoverInterruptedRun", [](Controller &f) { f.c.RecoverInterruptedRun(); }},
        {"RefreshUndoState", [](Controller &f) { f.c.RefreshUndoState(); }},
        {"SetNumberingInput", [](Controller &f) { f.c.SetNumberingInput(&JobInputs::baseName, u"n"_qs); }},
        {"SetAddTop", [](Controller &f) { f.c.SetAddTop(false); }},
        {"SetSearchInput", [](Controller &f) { f.c.SetSearchInput(&JobInputs::searchText, u"zzz"_qs); }},
        {"SetInput", [](Controller &f) { f.c.SetInput(&JobInputs::ChkManual, true); }},
        {"SetTagV1", [](Controller &f) { f.c.SetTagV1(false); }},
        {"SetTagV2", [](Controller &f) { f.c.SetTagV2(false); }},
        {"SetTagTemplate", [](Controller &f) { f.c.SetTagTemplate(1, u"$1"_qs); }},
        {"ResetTagTemplates", [](Controller &f) { f.c.ResetTagTemplates(); }},
        {"DropDownFor", [](Controller &f) { f.c.DropDownFor(&JobInputs::searchText); }},
        {"RemoveFromDropDown", [](Controller &f) { f.c.RemoveFromDropDown(&JobInputs::searchText, u"^f"_qs); }},
        {"SetRowSelected", [](Controller &f) { f.c.SetRowSelected(2, true); }},
        // The MP3 list is empty outside its job: there is no row to select.
        {"SetTagRowSelected", [](Controller &f) { if (f.c.tagJob().rows().count() > 0) f.c.SetTagRowSelected(1, true); }},
        {"ChooseReplaceTarget", [](Controller &f) { f.c.ChooseReplaceTarget(u"Title"_qs); }},
        {"OfferTry", [](Controller &f) { f.c.OfferTry(); }},
        {"OpenFolder", [](Controller &f) { f.c.OpenFolder(QDir::tempPath()); }},
        {"ApplyDirectData", [](Controller &f) { f.c.ApplyDirectData(1, {u"x"_qs}); }},
        {"SetOption", [](Controller &f) { f.c.SetOption(&RunOptions::ignoreCase, true); }},
        {"applySettings", [](Controller &f) { f.c.applySettings(Settings::defaults(QSize(800, 600))); }},
    };
    return all;
}

// A folder of files f0.txt … whose Try and Execute let events through, with
// a command file beside them.
struct BusyController : Controller
{
    BusyController() : Controller(names())
    {
        QFile file(dir.filePath(u"job.dat"_qs));
        if (file.open(QIODevice::WriteOnly))
            file.write("Com=連番作成\r\nSearch=FROMFILE\r\n");
        c.LoadFolder(dir.path());
        c.SetSearchInput(&JobInputs::searchText, u"^f"_qs);
        c.SetSearchInput(&JobInputs::replaceText, u"g"_qs);
    }
    static QStringList names()
    {
        QStringList all;
        for (int i = 0; i < 60; ++i)
            all << QStringLiteral("f%1.txt").arg(i);
        return all;
    }
    // Try, then Execute; meddle runs wherever either lets events through.
    void run(const std::function<void()> &meddle)
    {
        int calls = 0;
        user.onEvents = [&] {
            ++calls;
            if (meddle)
                meddle();
        };
        QCOMPARE(c.TryCommand().result, TryResult::Planned);
        afterTry = snapshot();
        QVERIFY(calls > 0);
        calls = 0;
        QVERIFY(!c.ExecuteCommand().failed());
        QVERIFY(calls > 0);
        user.onEvents = {};
    }
    QStringList afterTry;
};

} // namespace

// What the window and unattended runs both rely on the controller for, beyond
// the planners and executor themselves.
class TestJobController : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void commandsDuringARunChangeNothing_data()
    {
        QTest::addColumn<int>("command");
        for (size_t at = 0; at < commands().size(); ++at)
            QTest::newRow(commands()[at].name) << int(at);
    }

    // Every command refuses while a Try or an Execute lets events through:
    // the run ends exactly as it would have ended undisturbed.
    void commandsDuringARunChangeNothing()
    {
        QFETCH(int, command);
        static QStringList expectedAfterTry, expectedAfterRun;
        if (expectedAfterRun.isEmpty()) {
            BusyController undisturbed;
            undisturbed.run({});
            expectedAfterTry = undisturbed.afterTry;
            expectedAfterRun = undisturbed.snapshot() << undisturbed.commands();
        }
        BusyController f;
        f.run([&f, command] { commands()[command].call(f); });
        QCOMPARE(f.afterTry, expectedAfterTry);
        QCOMPARE(f.snapshot() << f.commands(), expectedAfterRun);
        QVERIFY(!f.c.busy());
    }

    void commandStatesFollowEachStep_data()
    {
        QTest::addColumn<QString>("steps");
        // Each step, then the commands it leaves: Try, Execute, Restore, 元のファイル名に戻す.
        QTest::newRow("replace") << u"search:a>z 1000, try 1110, execute 0001, undo 0000, try 1110, restore 1000, "
                                    "clear 0000"_qs;
        QTest::newRow("replace refused") << u"search:.+>x 1000, try 1010, restore 1000, search:zzz>y 1000, "
                                            "try 1000, execute 0000"_qs;
        QTest::newRow("numbering") << u"job:0 1000, numbering 1000, try 1110, job:1 1000, job:0 1000, try 1110, "
                                      "execute 0001, delete 0001"_qs;
        QTest::newRow("modified date") << u"job:3 1000, try 1110, execute 0000, try 1110, restore 1000"_qs;
        QTest::newRow("mp3") << u"job:4 1000, template 1000, try 1110, restore 1000, offer 1000, job:1 1000"_qs;
        QTest::newRow("folder") << u"job:5 0000, load 1000, search:d>e 1000, try 1110, execute 0001, undo 0000"_qs;
        QTest::newRow("preview and lists") << u"search:a>z 1000, try 1110, preview 1010, clear 0000, drop 1000, "
                                              "try 1000, data 1000"_qs;
    }

    // The commands offered after each step, through the controller alone.
    void commandStatesFollowEachStep()
    {
        QFETCH(QString, steps);
        Controller f({u"a1.txt"_qs, u"b.txt"_qs, u"c.mp3"_qs});
        QVERIFY(QDir(f.dir.path()).mkdir(u"d1"_qs));
        JobController &c = f.c;
        QStringList seen;
        for (const QString &step : steps.split(u", "_qs)) {
            const QString name = step.section(u' ', 0, 0);
            const QString verb = name.section(u':', 0, 0);
            const QString arg = name.section(u':', 1);
            if (verb == u"load") {
                c.LoadFolder(f.dir.path());
            } else if (verb == u"search") {
                c.SetSearchInput(&JobInputs::searchText, arg.section(u'>', 0, 0));
                c.SetSearchInput(&JobInputs::replaceText, arg.section(u'>', 1));
            } else if (verb == u"job") {
                c.SelectJob(Jobs::fromPosition(arg.toInt()));
            } else if (verb == u"try") {
                c.TryCommand();
            } else if (verb == u"execute") {
                c.ExecuteCommand();
            } else if (verb == u"restore") {
                c.RestoreCommand();
            } else if (verb == u"undo") {
                c.RestoreFileNames();
            } else if (verb == u"clear") {
                c.DeleteAllRows();
            } else if (verb == u"delete") {
                c.SelectAllRows();
                c.DeleteSelectedRows();
            } else if (verb == u"numbering") {
                c.SetNumberingInput(&JobInputs::baseName, u"n.txt"_qs);
            } else if (verb == u"template") {
                c.SetTagTemplate(1, u"$1"_qs);
                c.SetSearchInput(&JobInputs::searchText, u"(.+)"_qs);
            } else if (verb == u"offer") {
                c.OfferTry();
            } else if (verb == u"preview") {
                c.PreviewNames(1, 2);
            } else if (verb == u"drop") {
                c.DropPaths({f.dir.filePath(u"b.txt"_qs)}, 0);
            } else if (verb == u"data") {
                c.ApplyDirectData(1, {u"typed.txt"_qs});
            }
            seen << name + u' ' + f.commands();
        }
        QCOMPARE(seen.join(u", "_qs), steps);
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
        QCOMPARE(c.TryCommand().result, TryResult::Planned);
        QCOMPARE(c.rows().field(1, RenameField::NewName), u"typed.txt"_qs);
        QCOMPARE(c.rows().field(2, RenameField::NewName), c.rows().field(2, RenameField::CurrentName));

        typed[1] = u"bad:name"_qs;
        c.ApplyDirectData(1, typed);
        QCOMPARE(c.TryCommand().result, TryResult::Invalid);
    }

    void oneStepModeLeavesACollisionAlone()
    {
        Controller f({u"a.txt"_qs, u"b.txt"_qs});
        JobController &c = f.c;
        c.SetNoTryMode(true);
        c.SetSearchInput(&JobInputs::searchText, u"b"_qs);
        c.SetSearchInput(&JobInputs::replaceText, u"a"_qs);
        QCOMPARE(c.TryCommand().result, TryResult::Duplicate);
        QCOMPARE(f.onDisk(), (QStringList{u"a.txt"_qs, u"b.txt"_qs}));
    }

    // A folder is listed without dates and sizes until a job that sets
    // time-stamps, a sort or a copy needs them; each reads what it takes.
    void datesAreReadWhenUsed()
    {
        Controller f({u"gone.txt"_qs});
        const QDateTime stamp(QDate(2015, 4, 3), QTime(9, 8, 7));
        QFile file(f.dir.filePath(u"a.txt"_qs));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.setFileTime(stamp, QFileDevice::FileModificationTime));
        file.close();
        JobController &c = f.c;
        c.LoadFolder(f.dir.path());
        QCOMPARE(c.rows().field(2, RenameField::CurrentName), u"a.txt"_qs);
        QVERIFY(c.rows().field(2, RenameField::Modified).isEmpty());
        c.ReadRowFacts(2);
        QCOMPARE(c.rows().field(2, RenameField::Modified), DateText(stamp));
        QVERIFY(c.rows().row(1).factsPending());

        // Sorting by a date and copying the list read every row's.
        c.SortActiveList(static_cast<int>(RenameField::Modified), false);
        QVERIFY(!c.rows().row(1).factsPending());
        c.LoadFolder(f.dir.path());
        c.SelectAllRows();
        QVERIFY(c.ActiveListText({}).contains(u"\t"_qs + DateText(stamp) + u"\t0\t"_qs));

        c.LoadFolder(f.dir.path());
        c.SetRowSelected(2, true);
        QVERIFY(QFile::remove(f.dir.filePath(u"gone.txt"_qs)));
        c.SelectJob(JobKind::ModifiedDate);
        QCOMPARE(c.inputs().baseDate, QDate(2015, 4, 3));
        QCOMPARE(c.inputs().baseTime, QTime(9, 8, 7));
        // An item gone before its date was read is named, as a load names it.
        QCOMPARE(f.user.errorLists.size(), 1);
        QVERIFY(f.user.errorLists[0].second.endsWith(u"\r\n"_qs + f.dir.filePath(u"gone.txt\r\n"_qs)));

        // A folder loaded while such a job is chosen is read whole.
        c.LoadFolder(f.dir.path());
        QCOMPARE(c.rows().field(1, RenameField::Modified), DateText(stamp));
    }

    void commandFileDropsTheEarlierPlan()
    {
        Controller f({u"x1.txt"_qs});
        JobController &c = f.c;
        c.SetSearchInput(&JobInputs::searchText, u"x"_qs);
        c.SetSearchInput(&JobInputs::replaceText, u"y"_qs);
        QCOMPARE(c.TryCommand().result, TryResult::Planned);
        QFile file(f.dir.filePath(u"job.dat"_qs));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Com=ファイル名置換\r\nSearch=FROMFILE\r\nReplace=z\r\n");
        file.close();
        QVERIFY(!c.CommandFileLoad(file.fileName()));
        QVERIFY(!c.states().executeEnabled() && !c.states().restoreEnabled());
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
