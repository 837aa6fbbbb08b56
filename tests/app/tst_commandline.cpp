#include "app/commandline.h"

#include <QTest>

class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void valuesAreTakenWhole();
    void namesAreLowered();
    void pairing_data();
    void pairing();
    void debugIsFoundAnywhere();
    void optionTextAndQueue();
};

void TestCommandLine::valuesAreTakenWhole()
{
    const CommandLine line = CommandLine::parse(
        {QStringLiteral("-folder"), QStringLiteral("/tmp/my photos"), QStringLiteral("-search"),
         QStringLiteral("-(\\d+) \"x\""), QStringLiteral("-pattern"), QStringLiteral("a -b $1"),
         QStringLiteral("-auto"), QStringLiteral("-quit")});
    QCOMPARE(line.folder(), QStringLiteral("/tmp/my photos"));
    QCOMPARE(line.search(), QStringLiteral("-(\\d+) \"x\""));
    QCOMPARE(line.pattern(), QStringLiteral("a -b $1"));
    QVERIFY(line.unattended());
    QVERIFY(line.quit());
    QVERIFY(!line.unpaired());
}

void TestCommandLine::namesAreLowered()
{
    const CommandLine line = CommandLine::parse({QStringLiteral("-AUTO"), QStringLiteral("-Folder"),
                                                 QStringLiteral("/Data/MixedCase"), QStringLiteral("-Q")});
    QVERIFY(line.unattended());
    QVERIFY(line.quit());
    QCOMPARE(line.folder(), QStringLiteral("/Data/MixedCase"));
    QVERIFY(!line.isEmpty());
    QVERIFY(CommandLine::parse({}).isEmpty());
    // A stray word before the first switch and unknown switches change nothing.
    const CommandLine stray = CommandLine::parse({QStringLiteral("word"), QStringLiteral("-unknown")});
    QVERIFY(!stray.unattended());
}

void TestCommandLine::pairing_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("unpaired");
    QTest::newRow("search alone") << QStringList{QStringLiteral("-search"), QStringLiteral("x")} << true;
    QTest::newRow("pattern alone") << QStringList{QStringLiteral("-pattern"), QStringLiteral("x")} << true;
    QTest::newRow("both") << QStringList{QStringLiteral("-pattern"), QStringLiteral("y"), QStringLiteral("-search"),
                                         QStringLiteral("x")}
                          << false;
    QTest::newRow("search twice") << QStringList{QStringLiteral("-search"), QStringLiteral("x"),
                                                 QStringLiteral("-search"), QStringLiteral("y")}
                                  << false;
    QTest::newRow("neither") << QStringList{QStringLiteral("-auto")} << false;
}

void TestCommandLine::pairing()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, unpaired);
    QCOMPARE(CommandLine::parse(arguments).unpaired(), unpaired);
}

void TestCommandLine::debugIsFoundAnywhere()
{
    QVERIFY(CommandLine::parse({QStringLiteral("-folder"), QStringLiteral("/tmp/x-DEBUG-y")}).debug());
    QVERIFY(CommandLine::parse({QStringLiteral("-debug")}).debug());
    QVERIFY(!CommandLine::parse({QStringLiteral("-folder"), QStringLiteral("/tmp/debug")}).debug());
}

void TestCommandLine::optionTextAndQueue()
{
    const CommandLine line = CommandLine::parse(
        {QStringLiteral("-no_confirm"), QStringLiteral("-com_file"), QStringLiteral("first.dat"),
         QStringLiteral("-only_top"), QStringLiteral("-com_file"), QStringLiteral("/abs/second.dat")});
    QCOMPARE(line.optionText(), QStringLiteral("-no_confirm -only_top "));
    QCOMPARE(line.commandFiles(), QStringList({QStringLiteral("first.dat"), QStringLiteral("/abs/second.dat")}));
    QVERIFY(line.onlyTop());
    QVERIFY(line.noConfirm());
    QVERIFY(CommandLine::parse({QStringLiteral("--help")}).help());
    QVERIFY(CommandLine::parse({QStringLiteral("--version")}).version());
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
