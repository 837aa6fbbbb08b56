#include "platform/messagerequest.h"
#include "scripteduserchannel.h"
#include "ui/frmdata.h"
#include "ui/frmsearch.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

// The direct data editor: one line per row, the forbidden characters on
// typing, pasting and applying, and the full-width replacement.
class TestDataEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensWithOneLinePerRow();
    void appliedText_data();
    void appliedText();
    void typingForbiddenIsRefused();
    void pastingForbiddenIsFlagged();
    void fullWidthReplacement();
    void refusedColumns();
};

namespace {
const QString ForbiddenMessage = QStringLiteral("ファイル名に使用できない文字[/:*?\\|]が含まれています。");
}

void TestDataEditor::opensWithOneLinePerRow()
{
    ScriptedUserChannel user;
    frmData editor(user, QStringLiteral("変更後のファイル名"), {QStringLiteral("a.txt"), QStringLiteral("b.txt"),
                                                              QStringLiteral("c.txt")},
                   2, true);
    QCOMPARE(editor.windowTitle(), QStringLiteral("データの指定－変更後のファイル名"));
    QCOMPARE(editor.referenceBox()->toPlainText(), QStringLiteral("a.txt\nb.txt\nc.txt\n"));
    QCOMPARE(editor.editBox()->textCursor().selectedText(), QStringLiteral("b.txt"));
    QVERIFY(!editor.isDirty());

    // Typing replaces the row's value.
    editor.show();
    QTest::keyClicks(editor.editBox(), QStringLiteral("new.txt"));
    editor.accept();
    QCOMPARE(editor.values(), (QStringList{QStringLiteral("a.txt"), QStringLiteral("new.txt"), QStringLiteral("c.txt")}));
}

void TestDataEditor::appliedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fileNameColumn");
    QTest::addColumn<QStringList>("values"); // none: refused
    QTest::newRow("a line missing") << "x\ny" << true << QStringList{"x", "y", ""};
    QTest::newRow("extra lines dropped") << "x\ny\nz\nw\n" << true << QStringList{"x", "y", "z"};
    QTest::newRow("blank line kept in place") << "x\n\nz\n" << true << QStringList{"x", "", "z"};
    QTest::newRow("colon in a name") << "12:30\nb\nc" << true << QStringList{};
    QTest::newRow("angle bracket in a name") << "a<b\nb\nc" << true << QStringList{};
    QTest::newRow("hyphen in a name") << "12-30\nb\nc" << true << QStringList{"12-30", "b", "c"};
    QTest::newRow("question mark in a tag") << "Why?\nb\nc" << false << QStringList{"Why?", "b", "c"};
}

void TestDataEditor::appliedText()
{
    QFETCH(QString, text);
    QFETCH(bool, fileNameColumn);
    QFETCH(QStringList, values);
    ScriptedUserChannel user;
    frmData editor(user, QStringLiteral("Title"), {"a", "b", "c"}, 1, fileNameColumn);
    editor.editBox()->setPlainText(text);
    editor.accept();
    QCOMPARE(editor.values(), values);
    QCOMPARE(user.lastPrompt(), values.isEmpty() ? ForbiddenMessage : QString());
}

void TestDataEditor::typingForbiddenIsRefused()
{
    for (const bool fileNameColumn : {true, false}) {
        ScriptedUserChannel user;
        frmData editor(user, QStringLiteral("Title"), {"a"}, 1, fileNameColumn);
        editor.show();
        editor.editBox()->moveCursor(QTextCursor::End);
        QTest::keyClicks(editor.editBox(), QStringLiteral("x?y"));
        QCOMPARE(editor.editBox()->toPlainText(), QStringLiteral("a\nxy"));
        QCOMPARE(user.messages.size(), 1);
        QCOMPARE(user.lastPrompt(), QStringLiteral("? はファイル名に使用できません！"));
        QCOMPARE(user.messages.last().title, QStringLiteral("使用不可"));
    }
}

void TestDataEditor::pastingForbiddenIsFlagged()
{
    ScriptedUserChannel user;
    frmData editor(user, QStringLiteral("変更後のファイル名"), {"a", "b"}, 1, true);
    editor.show();
    QApplication::clipboard()->setText(QStringLiteral("12:30"));
    editor.editBox()->paste();
    QCOMPARE(user.lastPrompt(), ForbiddenMessage);
    QCOMPARE(user.messages.last().title, QStringLiteral("使用不可文字あり"));
    QVERIFY(editor.editBox()->toPlainText().contains(QStringLiteral("12:30")));
}

void TestDataEditor::fullWidthReplacement()
{
    ScriptedUserChannel user;
    frmData editor(user, QStringLiteral("変更後のファイル名"), {"a"}, 1, true);
    editor.editBox()->setPlainText(QStringLiteral("a/b:c*d?e\\f|g<h>i\"j[k]l"));
    user.clear();
    editor.toWideButton()->click();
    QCOMPARE(user.messages.first().prompt,
             QStringLiteral("特殊文字（/:*?\\|<>\"）を全て全角文字に置換します。よろしいですか？"));
    editor.accept();
    QCOMPARE(editor.values(), QStringList{QStringLiteral("a／b：c＊d？e￥f｜g＜h＞i＂j［k］l")});
}

void TestDataEditor::refusedColumns()
{
    ScriptedUserChannel user;
    QVERIFY(frmData::refuseColumn(user, 12, QStringLiteral("ID3 Ver.")));
    QCOMPARE(user.lastPrompt(), QStringLiteral("ID3 Ver. は編集できません！"));
    user.clear();
    QVERIFY(!frmData::refuseColumn(user, 2, QStringLiteral("Title")));
    QVERIFY(user.messages.isEmpty());
}

QTEST_MAIN(TestDataEditor)
#include "tst_dataeditor.moc"
