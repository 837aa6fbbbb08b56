#include "platform/systempaths.h"
#include "scripteduserchannel.h"
#include "ui/frminput.h"
#include "ui/frmvar.h"
#include "ui/funchelp.h"
#include "ui/windowplacement.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

int rowOf(const QListWidget *list, const QString &name)
{
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->text().section(u'\t', 0, 0) == name)
            return row;
    }
    return -1;
}

} // namespace

// The input dialog: write-back on OK only, the refused keys, the font size
// limits and where it opens. The variable list it opens: insertion at the
// remembered caret, and the hover help read from the help document.
class TestInputDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void writesBackOnOkOnly();
    void refusedKeys();
    void fontSizeStaysWithinLimits();
    void insertsFromVarList();
    void placement_data();
    void placement();
    void keptOnScreen_data();
    void keptOnScreen();
    void insertsAtCaret_data();
    void insertsAtCaret();
    void headingsGapsAndNoTarget();
    void helpTablesToText();
    void htmlToText_data();
    void htmlToText();
    void shippedHelpCoversEveryEntry();
    void toolTipFromShippedHelp();
};

void TestInputDialog::initTestCase()
{
    SystemPaths::setProgramFolder(QCoreApplication::applicationDirPath());
}

void TestInputDialog::writesBackOnOkOnly()
{
    ScriptedUserChannel user;
    QComboBox replace;
    replace.setEditable(true);
    replace.setEditText("$1");
    frmInput dialog(user, &replace, 1);
    QCOMPARE(dialog.txtInput()->toPlainText(), "$1");
    dialog.txtInput()->setPlainText("<format($1,\"000\")>");
    dialog.okButton()->click();
    QCOMPARE(replace.currentText(), "<format($1,\"000\")>");

    QLineEdit search("(\\d+)");
    frmInput cancelled(user, &search, 0);
    cancelled.show();
    QTest::keyClicks(cancelled.txtInput(), "abc");
    cancelled.cancelButton()->click();
    frmInput closed(user, &search, 0);
    closed.show();
    closed.txtInput()->setPlainText("changed");
    closed.close();
    QCOMPARE(search.text(), "(\\d+)");
}

void TestInputDialog::refusedKeys()
{
    ScriptedUserChannel user;
    QLineEdit box(QStringLiteral("ab"));
    frmInput dialog(user, &box, 1);
    dialog.show();
    dialog.txtInput()->moveCursor(QTextCursor::End);
    QTest::keyClick(dialog.txtInput(), Qt::Key_Return);
    QTest::keyClick(dialog.txtInput(), Qt::Key_Enter);
    QTest::keyClicks(dialog.txtInput(), QStringLiteral("c"));
    QCOMPARE(dialog.txtInput()->toPlainText(), QStringLiteral("abc"));
    QVERIFY(dialog.isVisible());

    // A pasted line break does not reach the one-line box either.
    dialog.txtInput()->setPlainText(QStringLiteral("a\nb"));
    dialog.okButton()->click();
    QCOMPARE(box.text(), QStringLiteral("ab"));

    // The separator box takes no character a file name cannot hold.
    QLineEdit separator;
    separator.setObjectName(QStringLiteral("txtSeparator"));
    frmInput separatorDialog(user, &separator, 0);
    separatorDialog.show();
    QTest::keyClicks(separatorDialog.txtInput(), QStringLiteral("a/b:*?\\|<>\"-"));
    separatorDialog.okButton()->click();
    QCOMPARE(separator.text(), QStringLiteral("ab-"));
    QVERIFY(user.messages.isEmpty());

    // Other boxes take them.
    QLineEdit search;
    frmInput other(user, &search, 0);
    other.show();
    QTest::keyClicks(other.txtInput(), QStringLiteral("a/b|c"));
    QCOMPARE(other.txtInput()->toPlainText(), QStringLiteral("a/b|c"));
}

void TestInputDialog::fontSizeStaysWithinLimits()
{
    ScriptedUserChannel user;
    QLineEdit box;
    frmInput dialog(user, &box, 0);
    const int start = dialog.fontSize();
    dialog.fontUpButton()->click();
    QCOMPARE(dialog.fontSize(), start + 1);
    for (int click = 0; click < 60; ++click)
        dialog.fontDownButton()->click();
    QCOMPARE(dialog.fontSize(), frmInput::MinimumFontSize);
    for (int click = 0; click < 60; ++click)
        dialog.fontUpButton()->click();
    QCOMPARE(dialog.fontSize(), frmInput::MaximumFontSize);
}

void TestInputDialog::insertsFromVarList()
{
    ScriptedUserChannel user;
    QLineEdit box(QStringLiteral("xy"));
    frmInput dialog(user, &box, 1);
    dialog.show();
    QTextCursor cursor = dialog.txtInput()->textCursor();
    cursor.setPosition(1);
    dialog.txtInput()->setTextCursor(cursor);
    QTest::mouseClick(dialog.lblVar(), Qt::LeftButton);
    auto *list = dialog.findChild<frmVar *>();
    QVERIFY(list);
    // Row 1 is "$1", right under the first heading.
    list->choose(1);
    QCOMPARE(dialog.txtInput()->toPlainText(), QStringLiteral("x$1y"));
    QCOMPARE(dialog.txtInput()->textCursor().position(), 1);
    QCOMPARE(box.text(), QStringLiteral("xy"));
}

void TestInputDialog::placement_data()
{
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<QPoint>("corner");
    QTest::addColumn<QPoint>("drop");
    const QRect screen(0, 0, 1000, 800);
    QTest::newRow("near the lower-right corner") << screen << QSize(200, 100) << QPoint(990, 790)
                                                 << QPoint(800, 700) << QPoint(800, 690);
    QTest::newRow("second screen") << QRect(1000, 0, 500, 400) << QSize(200, 100) << QPoint(1450, 350)
                                   << QPoint(1300, 300) << QPoint(1300, 250);
    QTest::newRow("taller than the room above") << screen << QSize(100, 600) << QPoint(5, 400) << QPoint(5, 200)
                                                << QPoint(5, 0);
}

void TestInputDialog::placement()
{
    QFETCH(QRect, screen);
    QFETCH(QSize, window);
    QFETCH(QPoint, pointer);
    QFETCH(QPoint, corner);
    QFETCH(QPoint, drop);
    QCOMPARE(CornerAtPointer(screen, window, pointer), corner);
    QCOMPARE(DropAtPointer(screen, window, pointer), drop);
    QVERIFY(screen.contains(QRect(CornerAtPointer(screen, window, pointer), window)));
}

void TestInputDialog::keptOnScreen_data()
{
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QRect>("window");
    QTest::addColumn<QRect>("kept");
    const QRect screen(0, 0, 1280, 800);
    QTest::newRow("inside stays") << screen << QRect(240, 250, 800, 300) << QRect(240, 250, 800, 300);
    QTest::newRow("past the right and bottom edges") << screen << QRect(1000, 700, 800, 300)
                                                     << QRect(480, 500, 800, 300);
    QTest::newRow("negative position") << screen << QRect(-159, -20, 800, 300) << QRect(0, 0, 800, 300);
    // At a scale factor of 2 a 1280-pixel screen is 640 wide; the default window is 800.
    QTest::newRow("wider than a scaled screen") << QRect(0, 0, 640, 400) << QRect(-80, 50, 800, 300)
                                                << QRect(0, 50, 640, 300);
    QTest::newRow("larger both ways") << QRect(0, 24, 640, 376) << QRect(10, 10, 2000, 1000)
                                      << QRect(0, 24, 640, 376);
    QTest::newRow("second screen, panel at the top") << QRect(1280, 30, 1920, 1050) << QRect(1100, 0, 400, 300)
                                                     << QRect(1280, 30, 400, 300);
}

void TestInputDialog::keptOnScreen()
{
    QFETCH(QRect, screen);
    QFETCH(QRect, window);
    QFETCH(QRect, kept);
    QCOMPARE(KeepOnScreen(window, screen), kept);
}

void TestInputDialog::insertsAtCaret_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caret");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("caretAfter");
    QTest::newRow("selection replaced") << "abc" << "1\t1" << "$1" << "a$1c" << 1;
    QTest::newRow("at the end") << "abc" << "3\t0" << "<Title>" << "abc<Title>" << 3;
    QTest::newRow("whole text selected") << "名前.txt" << "0\t6" << "<FileName>" << "<FileName>" << 0;
    QTest::newRow("caret past the end") << "ab" << "9\t0" << "$2" << "ab$2" << 2;
}

void TestInputDialog::insertsAtCaret()
{
    QFETCH(QString, text);
    QFETCH(QString, caret);
    QFETCH(QString, entry);
    QFETCH(QString, expected);
    QFETCH(int, caretAfter);
    ScriptedUserChannel user;
    QLineEdit box(text);
    QPointer<frmVar> list = new frmVar(user, &box, caret);
    list->show();
    list->choose(rowOf(list->lstVar(), entry));
    QCOMPARE(box.text(), expected);
    QCOMPARE(box.cursorPosition(), caretAfter);
    QVERIFY(user.messages.isEmpty());
    QTRY_VERIFY(list.isNull());
}

void TestInputDialog::headingsGapsAndNoTarget()
{
    ScriptedUserChannel user;
    QLineEdit box(QStringLiteral("abc"));
    frmVar list(user, &box, QStringLiteral("1\t1"));
    list.setAttribute(Qt::WA_DeleteOnClose, false);
    list.show();
    const int heading = rowOf(list.lstVar(), QStringLiteral("!--関数"));
    list.choose(heading);
    list.choose(heading - 1);
    QCOMPARE(box.text(), QStringLiteral("abc"));
    QVERIFY(list.isVisible());
    QVERIFY(user.messages.isEmpty());
    // Escape puts the list away, as it does any pick-list.
    list.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&list));
    QTest::keyClick(list.lstVar(), Qt::Key_Escape);
    QVERIFY(!list.isVisible());

    // Opened with no box to write into, an entry only tells how to use the list.
    frmVar unbound(user, nullptr, QStringLiteral("0\t0"));
    unbound.setAttribute(Qt::WA_DeleteOnClose, false);
    unbound.show();
    unbound.choose(rowOf(unbound.lstVar(), QStringLiteral("$1")));
    QCOMPARE(user.lastPrompt(), QStringLiteral("入力するフィールドにカーソルを置いた後にクリックして下さい。"));
    QVERIFY(!unbound.isVisible());
}

void TestInputDialog::helpTablesToText()
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

void TestInputDialog::htmlToText_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("text");
    QTest::newRow("line break") << "a<BR>b" << "a\r\nb";
    QTest::newRow("tags go") << "<b class=\"x>y\">bold</b>" << "bold";
    QTest::newRow("quoted angle in attribute") << "<a title='1>0'>x</a>" << "x";
    QTest::newRow("references") << "&lt;a&gt; &amp; &QUOT;b&quot;&nbsp;&yen;" << "<a> & \"b\" \\";
}

void TestInputDialog::htmlToText()
{
    QFETCH(QString, html);
    QFETCH(QString, text);
    QCOMPARE(FuncHelp::HtmlToText(html), text);
}

void TestInputDialog::shippedHelpCoversEveryEntry()
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

void TestInputDialog::toolTipFromShippedHelp()
{
    ScriptedUserChannel user;
    QLineEdit box;
    frmVar list(user, &box, QStringLiteral("0\t0"));
    list.setAttribute(Qt::WA_DeleteOnClose, false);
    list.resize(400, 1200);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    list.loadHelp();

    QListWidgetItem *inStr = list.lstVar()->item(rowOf(list.lstVar(), QStringLiteral("InStr(,,,)")));
    const QPoint middle = list.lstVar()->visualItemRect(inStr).center();
    const QString tip = list.toolTipAt(middle);
    QVERIFY(tip.startsWith(QStringLiteral("<b>InStr(")));
    QCOMPARE(list.lstVar()->currentItem(), inStr);

    // No help near the list's left edge, or on a heading.
    QVERIFY(list.toolTipAt(QPoint(3, middle.y())).isEmpty());
    QListWidgetItem *heading = list.lstVar()->item(rowOf(list.lstVar(), QStringLiteral("!--関数")));
    QVERIFY(list.toolTipAt(list.lstVar()->visualItemRect(heading).center()).isEmpty());
}

QTEST_MAIN(TestInputDialog)
#include "tst_inputdialog.moc"
