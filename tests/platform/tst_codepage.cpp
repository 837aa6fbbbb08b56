#include "platform/codepage.h"

#include <QTest>

class TestCodePage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cp932Bytes()
    {
        // あ, the wave dash as code page 932 maps it, and a NEC special character.
        QCOMPARE(CodePage::toCp932(QStringLiteral("あ～①")), QByteArray::fromHex("82a081608740"));
        QCOMPARE(CodePage::fromCp932(QByteArray::fromHex("82a081608740")), QStringLiteral("あ～①"));
        QVERIFY(CodePage::holds(QStringLiteral("ｶﾀｶﾅ漢字ABC")));
        QVERIFY(!CodePage::holds(QStringLiteral("café")));
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("asCp932");
        QTest::newRow("japanese") << "ファイル名置換\r\n連番" << true;
        // Code page 932 bytes C3 BD would read as the UTF-8 of "ý".
        QTest::newRow("half-width kana that looks like UTF-8") << "ﾃｽ" << false;
        QTest::newRow("emoji") << "名前😀.txt" << false;
        QTest::newRow("empty") << "" << true;
    }

    void roundTrip()
    {
        QFETCH(QString, text);
        QFETCH(bool, asCp932);
        const QByteArray bytes = CodePage::encodeText(text);
        QCOMPARE(bytes.startsWith("\xEF\xBB\xBF"), !asCp932);
        QCOMPARE(CodePage::decodeText(bytes), text);
    }

    void liberalRead()
    {
        // UTF-8 without a byte-order mark is recognised by its validity.
        QCOMPARE(CodePage::decodeText(QStringLiteral("連番").toUtf8()), QStringLiteral("連番"));
        // A UTF-8 sequence cut off at the end is not UTF-8.
        QCOMPARE(CodePage::decodeText(QByteArray::fromHex("c3bdc4")), QStringLiteral("ﾃｽﾄ"));
    }
};

QTEST_GUILESS_MAIN(TestCodePage)
#include "tst_codepage.moc"
