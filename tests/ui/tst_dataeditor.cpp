#include "platform/messagerequest.h"
#include "scripteduserchannel.h"
#include "ui/frmdata.h"
#include "ui/frmsearch.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

// The direct data editor: one line per row, the forbidden characters on
// typing, pasting and applying, the full-width replacement, and search and
// replace in its text.
class TestDataEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensWithOneLinePerRow();
    void appliedText_data();
    void appliedText();
    void forbiddenCharactersTypedOrPasted();
    void fullWidthReplacement();
    void refusedColumns();
    void find_data();
    void find();
    void findAndReplaceNext();
    void replaceAll_data();
    void replaceAll();
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

void TestDataEditor::forbiddenCharactersTypedOrPasted()
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

    // Pasted text stays, flagged, until it is applied.
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

void TestDataEditor::find_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("needle");
    QTest::addColumn<bool>("exact");
    QTest::addColumn<int>("at");
    QTest::newRow("full-width Ａ by half-width A") << "xＡy" << "A" << false << 1;
    QTest::newRow("exact tells widths apart") << "xＡy" << "A" << true << -1;
    QTest::newRow("exact case") << "abc ABC" << "ABC" << true << 4;
    QTest::newRow("half-width katakana") << "ｶﾀｶﾅ.txt" << "カタカナ" << false << 0;
    QTest::newRow("ideographic space") << "a　b" << "a b" << false << 0;
    QTest::newRow("yen sign") << "a￥b" << "a\\b" << false << 0;
    QTest::newRow("empty needle") << "abc" << "" << false << -1;
}

void TestDataEditor::find()
{
    QFETCH(QString, text);
    QFETCH(QString, needle);
    QFETCH(bool, exact);
    QFETCH(int, at);
    QCOMPARE(frmSearch::find(text, needle, 0, exact), at);
}

void TestDataEditor::findAndReplaceNext()
{
    ScriptedUserChannel user;
    QPlainTextEdit box(QStringLiteral("abc Abc ABC"));
    frmSearch search(user, &box);
    search.searchBox()->setText(QStringLiteral("abc"));
    QVERIFY(search.findNextButton()->isEnabled());
    const QStringList expected{QStringLiteral("abc"), QStringLiteral("Abc"), QStringLiteral("ABC")};
    for (int press = 0; press < 3; ++press) {
        search.findNextButton()->click();
        QCOMPARE(box.textCursor().selectedText(), expected.at(press));
        QCOMPARE(search.hitPosition(), press * 4 + 1);
    }
    search.findNextButton()->click();
    QCOMPARE(search.statusLabel()->text(), QStringLiteral("一致無し"));
    QCOMPARE(search.hitPosition(), 0);

    // After "一致無し" the search starts again from the top.
    search.findNextButton()->click();
    QCOMPARE(box.textCursor().selectionStart(), 0);

    // Replacing one hit at a time, the next hit is looked for one search
    // length after the replaced one: the second letter of the text just inserted.
    QPlainTextEdit text(QStringLiteral("a-a"));
    frmSearch replacer(user, &text);
    replacer.replaceCheck()->setChecked(true);
    replacer.searchBox()->setText(QStringLiteral("a"));
    replacer.replaceBox()->setText(QStringLiteral("aa"));
    replacer.findNext();
    QCOMPARE(replacer.hitPosition(), 1);
    replacer.replaceNextButton()->click();
    QCOMPARE(text.toPlainText(), QStringLiteral("aa-a"));
    QCOMPARE(replacer.hitPosition(), 2);
    replacer.replaceNextButton()->click();
    QCOMPARE(text.toPlainText(), QStringLiteral("aaa-a"));
    QCOMPARE(replacer.hitPosition(), 3);

    // Everything before the current hit stays as it is.
    QPlainTextEdit names(QStringLiteral("Ab ab"));
    frmSearch loose(user, &names);
    loose.searchBox()->setText(QStringLiteral("ab"));
    loose.replaceBox()->setText(QStringLiteral("X"));
    loose.findNext();
    loose.findNext();
    loose.replaceNext();
    QCOMPARE(names.toPlainText(), QStringLiteral("Ab X"));
    QCOMPARE(loose.statusLabel()->text(), QStringLiteral("一致無し"));
}

void TestDataEditor::replaceAll_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("needle");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<bool>("exact");
    QTest::addColumn<QString>("expected");
    QTest::newRow("every width and case") << "IMG_1 img_2 ＩＭＧ_3" << "img" << "写真" << false << "写真_1 写真_2 写真_3";
    QTest::newRow("exact only") << "IMG_1 img_2" << "img" << "x" << true << "IMG_1 x_2";
    QTest::newRow("replacement holds the needle") << "a.a" << "a" << "aa" << false << "aa.aa";
    QTest::newRow("to nothing") << "a b c\nd e" << " " << "" << false << "abc\nde";
}

void TestDataEditor::replaceAll()
{
    QFETCH(QString, text);
    QFETCH(QString, needle);
    QFETCH(QString, replacement);
    QFETCH(bool, exact);
    QFETCH(QString, expected);
    ScriptedUserChannel user;
    QPlainTextEdit box(text);
    frmSearch search(user, &box);
    search.exactBox()->setChecked(exact);
    search.searchBox()->setText(needle);
    search.replaceBox()->setText(replacement);
    search.replaceAllButton()->click();
    QCOMPARE(user.messages.first().prompt, u'"' + needle + QStringLiteral("\" を \"") + replacement
                                               + QStringLiteral("\" に全て置換します。宜しいですか？"));
    QCOMPARE(box.toPlainText(), expected);
    QCOMPARE(user.lastPrompt(), QStringLiteral("置換完了"));
    // One undo step brings the text back.
    box.undo();
    QCOMPARE(box.toPlainText(), text);
}

QTEST_MAIN(TestDataEditor)
#include "tst_dataeditor.moc"
