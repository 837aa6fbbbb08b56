#include "scripteduserchannel.h"
#include "ui/frminput.h"
#include "ui/frmvar.h"
#include "ui/windowplacement.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

// The input dialog: write-back on OK only, the refused keys, the font size
// limits and where it opens.
class TestInputDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void okWritesBack();
    void cancelLeavesTargetUnchanged();
    void enterIsDiscarded();
    void separatorRefusesForbiddenCharacters();
    void fontSizeStaysWithinLimits();
    void insertsFromVarList();
    void placement_data();
    void placement();
};

void TestInputDialog::okWritesBack()
{
    ScriptedUserChannel user;
    QComboBox replace;
    replace.setEditable(true);
    replace.setEditText(QStringLiteral("$1"));
    frmInput dialog(user, &replace, 1);
    QCOMPARE(dialog.txtInput()->toPlainText(), QStringLiteral("$1"));
    dialog.txtInput()->setPlainText(QStringLiteral("<format($1,\"000\")>"));
    dialog.okButton()->click();
    QCOMPARE(replace.currentText(), QStringLiteral("<format($1,\"000\")>"));
}

void TestInputDialog::cancelLeavesTargetUnchanged()
{
    ScriptedUserChannel user;
    QLineEdit search(QStringLiteral("(\\d+)"));
    frmInput dialog(user, &search, 0);
    dialog.show();
    QTest::keyClicks(dialog.txtInput(), QStringLiteral("abc"));
    dialog.cancelButton()->click();
    QCOMPARE(search.text(), QStringLiteral("(\\d+)"));

    frmInput closed(user, &search, 0);
    closed.show();
    closed.txtInput()->setPlainText(QStringLiteral("changed"));
    closed.close();
    QCOMPARE(search.text(), QStringLiteral("(\\d+)"));
}

void TestInputDialog::enterIsDiscarded()
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
}

void TestInputDialog::separatorRefusesForbiddenCharacters()
{
    ScriptedUserChannel user;
    QLineEdit separator;
    separator.setObjectName(QStringLiteral("txtSeparator"));
    frmInput dialog(user, &separator, 0);
    dialog.show();
    QTest::keyClicks(dialog.txtInput(), QStringLiteral("a/b:*?\\|<>\"-"));
    dialog.okButton()->click();
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
    QVERIFY(start >= frmInput::MinimumFontSize && start <= frmInput::MaximumFontSize);
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

QTEST_MAIN(TestInputDialog)
#include "tst_inputdialog.moc"
