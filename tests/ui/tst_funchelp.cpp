#include "platform/systempaths.h"
#include "scripteduserchannel.h"
#include "ui/frmvar.h"
#include "ui/funchelp.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

// The function help: the help document read into topics, and the variable
// list's hover help from the shipped document.
class TestFuncHelp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void helpTablesToText();
    void htmlToText_data();
    void htmlToText();
    void shippedHelpCoversEveryEntry();
    void toolTipFromShippedHelp();
};

void TestFuncHelp::initTestCase()
{
    SystemPaths::setProgramFolder(QCoreApplication::applicationDirPath());
}

void TestFuncHelp::helpTablesToText()
{
    const QString html = QStringLiteral(
        "<html><body>\r\n"
        "<h3><a name=\"InStr\">InStr</a></h3>\r\n"
        "<table class=\"help\" name=\"InStr\">\r\n"
        "<tr><td>InStr(文字列, 検索)</td></tr>\r\n"
        "<tr>\r\n  <td>説明</td>\r\n  <td>前方から検索</td>\r\n</tr>\r\n"
        "</table>\r\n"
        "<p><a name=\"left\" title=\"x\">Left</a></p>\r\n"
        "<table name=\"Left\"><tr><td>Left(文字列, 文字数)<br>左から</td></tr></table>\r\n"
        "<p><a name=\"&lt;Title&gt;\">Title</a></p>\r\n"
        "<table name=\"&lt;Title&gt;\"><tr><td>&lt;Title&gt;</td></tr><tr><td>タイトル &amp; 曲名</td></tr></table>\r\n"
        "<p><a name=\"Orphan\">no table</a></p>\r\n"
        "</body></html>\r\n");
    const FuncHelp help = FuncHelp::parse(html);
    QCOMPARE(help.names(), (QStringList{QStringLiteral("<Title>"), QStringLiteral("InStr"), QStringLiteral("left"),
                                        QStringLiteral("Orphan")}));

    const FuncHelp::Topic inStr = help.topicOf(QStringLiteral("InStr(,,,)"));
    QCOMPARE(inStr.title, QStringLiteral("InStr(文字列, 検索)"));
    QCOMPARE(inStr.body, QStringLiteral("説明　前方から検索"));
    QCOMPARE(help.helpOf(QStringLiteral("INSTR")), help.helpOf(QStringLiteral("InStr(,,,)")));
    QVERIFY(help.helpOf(QStringLiteral("InStrRev(,,,)")).isEmpty());
    QCOMPARE(help.topicOf(QStringLiteral("Left(,)")).body, QStringLiteral("左から"));
    QCOMPARE(help.topicOf(QStringLiteral("<Title>")).body, QStringLiteral("タイトル & 曲名"));
    QVERIFY(help.helpOf(QStringLiteral("Orphan")).isEmpty());
    QVERIFY(FuncHelp::load(QStringLiteral("/nonexistent/func.html")).isEmpty());
}

void TestFuncHelp::htmlToText_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("text");
    QTest::newRow("line break") << "a<BR>b" << "a\r\nb";
    QTest::newRow("tags go") << "<b class=\"x>y\">bold</b>" << "bold";
    QTest::newRow("quoted angle in attribute") << "<a title='1>0'>x</a>" << "x";
    QTest::newRow("references") << "&lt;a&gt; &amp; &QUOT;b&quot;&nbsp;&yen;" << "<a> & \"b\" \\";
}

void TestFuncHelp::htmlToText()
{
    QFETCH(QString, html);
    QFETCH(QString, text);
    QCOMPARE(FuncHelp::HtmlToText(html), text);
}

void TestFuncHelp::shippedHelpCoversEveryEntry()
{
    const FuncHelp help = FuncHelp::load(FuncHelp::documentPath());
    QVERIFY2(!help.isEmpty(), qPrintable(FuncHelp::documentPath()));
    for (const QString &entry : frmVar::entries()) {
        if (entry.isEmpty() || entry.startsWith(u'!'))
            continue;
        const QString name = entry.section(u'\t', 0, 0);
        const FuncHelp::Topic topic = help.topicOf(name);
        QVERIFY2(!topic.title.isEmpty() && !topic.body.isEmpty(), qPrintable(name));
    }
}

void TestFuncHelp::toolTipFromShippedHelp()
{
    ScriptedUserChannel user;
    QLineEdit box;
    frmVar list(user, &box, QStringLiteral("0\t0"));
    list.setAttribute(Qt::WA_DeleteOnClose, false);
    list.resize(400, 1200);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    list.loadHelp();

    // The first entry that starts with name.
    const auto entry = [&list](const QString &name) {
        return list.lstVar()->findItems(name, Qt::MatchStartsWith).value(0);
    };
    QListWidgetItem *inStr = entry(QStringLiteral("InStr(,,,)"));
    const QPoint middle = list.lstVar()->visualItemRect(inStr).center();
    const QString tip = list.toolTipAt(middle);
    QVERIFY(tip.startsWith(QStringLiteral("<b>InStr(")));
    QCOMPARE(list.lstVar()->currentItem(), inStr);

    // No help near the list's left edge, or on a heading.
    QVERIFY(list.toolTipAt(QPoint(3, middle.y())).isEmpty());
    QListWidgetItem *heading = entry(QStringLiteral("!--関数"));
    QVERIFY(list.toolTipAt(list.lstVar()->visualItemRect(heading).center()).isEmpty());
}

QTEST_MAIN(TestFuncHelp)
#include "tst_funchelp.moc"
