#include "app/commandline.h"
#include "app/startup.h"
#include "engine/control/jobcontroller.h"
#include "platform/linuxfilesystem.h"
#include "scripteduserchannel.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void valuesAreTakenWholeAndNamesLowered()
    {
        const CommandLine line = CommandLine::parse({"-Folder", "/tmp/My photos", "-search", "-(\\d+) \"x\"",
                                                     "-pattern", "a -b $1", "-AUTO", "-Q"});
        QCOMPARE(line.folder(), "/tmp/My photos");
        QCOMPARE(line.search(), "-(\\d+) \"x\"");
        QCOMPARE(line.pattern(), "a -b $1");
        QVERIFY(line.unattended() && line.quit() && !line.unpaired() && !line.isEmpty());
        QVERIFY(CommandLine::parse({}).isEmpty());
        // A stray word before the first switch and unknown switches change nothing.
        QVERIFY(!CommandLine::parse({"word", "-unknown"}).unattended());
    }

    void pairing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("unpaired");
        QTest::newRow("search alone") << QStringList{"-search", "x"} << true;
        QTest::newRow("pattern alone") << QStringList{"-pattern", "x"} << true;
        QTest::newRow("both") << QStringList{"-pattern", "y", "-search", "x"} << false;
        QTest::newRow("search twice") << QStringList{"-search", "x", "-search", "y"} << false;
        QTest::newRow("neither") << QStringList{"-auto"} << false;
    }

    void pairing()
    {
        QFETCH(QStringList, arguments);
        QTEST(CommandLine::parse(arguments).unpaired(), "unpaired");
    }

    void switchesAndQueue()
    {
        const CommandLine line = CommandLine::parse(
            {"-no_confirm", "-com_file", "first.dat", "-only_top", "-com_file", "/abs/second.dat"});
        QCOMPARE(line.optionText(), "-no_confirm -only_top ");
        QCOMPARE(line.commandFiles(), (QStringList{"first.dat", "/abs/second.dat"}));
        QVERIFY(line.onlyTop() && line.noConfirm() && !line.debug());
        QVERIFY(CommandLine::parse({"--help"}).help());
        QVERIFY(CommandLine::parse({"--version"}).version());
        // Debugging is asked for anywhere in the line, in any letters, but only as -debug.
        QVERIFY(CommandLine::parse({"-folder", "/tmp/x-DEBUG-y"}).debug());
        QVERIFY(CommandLine::parse({"-debug"}).debug());
        QVERIFY(!CommandLine::parse({"-folder", "/tmp/debug"}).debug());
    }

    // Corvane was last closed in the MP3 job: the folder's other files are
    // there as soon as a file job is chosen.
    void folderGivenInTheMp3Job()
    {
        QTemporaryDir dir;
        for (const QString name : {u"a.txt"_qs, u"b.jpg"_qs})
            QVERIFY(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
        ScriptedUserChannel user;
        LinuxFileSystem files;
        JobController controller(user, files);
        controller.SelectJob(JobKind::Mp3TagEdit);
        StartUp(controller, CommandLine::parse({"-folder", dir.path()})).run([] {});
        QCOMPARE(user.lastPrompt(), "ＭＰ３ファイルはありません！");
        QCOMPARE(controller.activeRowCount(), 0);
        QVERIFY(controller.caption().endsWith(dir.path()));
        controller.SelectJob(JobKind::Numbering);
        QCOMPARE(controller.rows().count(), 2);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
