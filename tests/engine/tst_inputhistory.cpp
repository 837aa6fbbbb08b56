#include "engine/control/inputhistory.h"
#include "engine/control/jobcontroller.h"
#include "platform/linuxfilesystem.h"
#include "scripteduserchannel.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The search and replace boxes' histories: what Execute records and the
// settings keep, and the drop-down list built from it and from the Tries.
class TestInputHistory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each step is "verb text": exec (an Execute), load (the settings' text),
    // drop and sorted (the box drops down), promote (a Try), remove (the user
    // deletes an entry of the open list).
    void steps_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("executed");
        QTest::addColumn<QStringList>("dropDown");
        QTest::newRow("exact, newest first, no empties")
            << QStringList{u"exec (\\d+)"_qs, u"exec abc"_qs, u"exec ABC"_qs, u"exec"_qs, u"exec (\\d+)"_qs}
            << u"(\\d+)\tABC\tabc"_qs << QStringList{};
        QTest::newRow("settings text without empties")
            << QStringList{u"load beta\t\tgamma\t"_qs, u"drop"_qs} << u"beta\tgamma"_qs
            << QStringList{u"beta"_qs, u"gamma"_qs};
        QTest::newRow("a Try heads the list, not the history")
            << QStringList{u"load beta\tgamma"_qs, u"drop"_qs, u"promote gamma"_qs} << u"beta\tgamma"_qs
            << QStringList{u"gamma"_qs, u"beta"_qs};
        QTest::newRow("sorted ignoring case")
            << QStringList{u"load beta\tAlpha\tgamma"_qs, u"sorted"_qs} << u"beta\tAlpha\tgamma"_qs
            << QStringList{u"Alpha"_qs, u"beta"_qs, u"gamma"_qs};
        QTest::newRow("removed from both")
            << QStringList{u"load beta\tAlpha"_qs, u"drop"_qs, u"remove Alpha"_qs} << u"beta"_qs
            << QStringList{u"beta"_qs};
    }

    void steps()
    {
        QFETCH(QStringList, steps);
        InputHistory history;
        for (const QString &step : std::as_const(steps)) {
            const QString verb = step.section(u' ', 0, 0);
            const QString text = step.section(u' ', 1);
            if (verb == u"exec")
                history.recordExecute(text);
            else if (verb == u"load")
                history.setExecuteHistoryText(text);
            else if (verb == u"drop" || verb == u"sorted")
                history.rebuildDropDown(verb == u"sorted");
            else if (verb == u"promote")
                history.promote(text);
            else
                history.removeFromDropDown(text);
        }
        QTEST(history.executeHistoryText(), "executed");
        QTEST(history.dropDown(), "dropDown");
    }

    // Through the controller: a Try that plans heads the drop-down, an Execute
    // records both boxes.
    void followTryAndExecute()
    {
        QTemporaryDir dir;
        for (const char *name : {"a1.txt", "b.txt"}) {
            QFile file(dir.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        ScriptedUserChannel user;
        LinuxFileSystem files;
        JobController c{user, files};
        c.SelectJob(JobKind::FileNameReplace);
        c.LoadFolder(dir.path());
        c.SetSearchInput(&JobInputs::searchText, u"zzz"_qs);
        QCOMPARE(c.TryCommand().result, TryResult::NothingToChange);
        QVERIFY(c.searchHistory().dropDown().isEmpty());

        c.SetSearchInput(&JobInputs::searchText, u"a(\\d)"_qs);
        c.SetSearchInput(&JobInputs::replaceText, u"z$1"_qs);
        QCOMPARE(c.TryCommand().result, TryResult::Planned);
        QCOMPARE(c.searchHistory().dropDown().first(), u"a(\\d)"_qs);
        QVERIFY(c.searchHistory().executeHistory().isEmpty());

        QVERIFY(!c.ExecuteCommand().failed());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name), (QStringList{u"b.txt"_qs, u"z1.txt"_qs}));
        QCOMPARE(c.searchHistory().executeHistory(), QStringList{u"a(\\d)"_qs});
        QCOMPARE(c.replaceHistory().executeHistory(), QStringList{u"z$1"_qs});
    }
};

QTEST_GUILESS_MAIN(TestInputHistory)
#include "tst_inputhistory.moc"
