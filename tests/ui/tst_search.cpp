#include "platform/messagerequest.h"
#include "scripteduserchannel.h"
#include "ui/frmsearch.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

// Search and replace in the data editor's text.
class TestSearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void find_data();
    void find();
    void findsEachHitInTurn();
    void replaceNextAfterInsertion();
    void replaceAll_data();
    void replaceAll();

private:
    QString selected(const QPlainTextEdit &box) const { return box.textCursor().selectedText(); }
};

void TestSearch::find_data()
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

void TestSearch::find()
{
    QFETCH(QString, text);
    QFETCH(QString, needle);
    QFETCH(bool, exact);
    QFETCH(int, at);
    QCOMPARE(frmSearch::find(text, needle, 0, exact), at);
}

void TestSearch::findsEachHitInTurn()
{
    ScriptedUserChannel user;
    QPlainTextEdit box(QStringLiteral("abc Abc ABC"));
    frmSearch search(user, &box);
    search.searchBox()->setText(QStringLiteral("abc"));
    QVERIFY(search.findNextButton()->isEnabled());
    const QStringList expected{QStringLiteral("abc"), QStringLiteral("Abc"), QStringLiteral("ABC")};
    for (int press = 0; press < 3; ++press) {
        search.findNextButton()->click();
        QCOMPARE(selected(box), expected.at(press));
        QCOMPARE(search.hitPosition(), press * 4 + 1);
    }
    search.findNextButton()->click();
    QCOMPARE(search.statusLabel()->text(), QStringLiteral("一致無し"));
    QCOMPARE(search.hitPosition(), 0);

    // After "一致無し" the search starts again from the top.
    search.findNextButton()->click();
    QCOMPARE(box.textCursor().selectionStart(), 0);
}

void TestSearch::replaceNextAfterInsertion()
{
    ScriptedUserChannel user;
    QPlainTextEdit box(QStringLiteral("a-a"));
    frmSearch search(user, &box);
    search.replaceCheck()->setChecked(true);
    search.searchBox()->setText(QStringLiteral("a"));
    search.replaceBox()->setText(QStringLiteral("aa"));
    search.findNext();
    QCOMPARE(search.hitPosition(), 1);

    // The next hit is looked for one search length after the replaced one:
    // the second letter of the text just inserted.
    search.replaceNextButton()->click();
    QCOMPARE(box.toPlainText(), QStringLiteral("aa-a"));
    QCOMPARE(search.hitPosition(), 2);

    search.replaceNextButton()->click();
    QCOMPARE(box.toPlainText(), QStringLiteral("aaa-a"));
    QCOMPARE(search.hitPosition(), 3);

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

void TestSearch::replaceAll_data()
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

void TestSearch::replaceAll()
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

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
