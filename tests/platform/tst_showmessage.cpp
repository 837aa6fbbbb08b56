#include "platform/consoleuserchannel.h"
#include "platform/showmessage.h"
#include "scripteduserchannel.h"

#include <QTest>

#include <cstdio>

class TestShowMessage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void emptyTitleBecomesApplicationTitle()
    {
        ScriptedUserChannel user;
        QString title;
        int x = -1, y = -1;
        user.answers.enqueue(MessageAnswer::Cancel);
        QCOMPARE(ShowMessage(user, QStringLiteral("宜しいですか？"), MessageStyle::OkCancel, title, x, y),
                 MessageAnswer::Cancel);
        QCOMPARE(title, QStringLiteral("Corvane"));
        QCOMPARE(user.messages.last().title, QStringLiteral("Corvane"));
        QVERIFY(user.messages.last().atPointer);

        QString given = QStringLiteral("注意");
        x = 0;
        ShowMessage(user, QStringLiteral("p"), 0, given, x, y);
        QCOMPARE(user.messages.last().title, given);
        QVERIFY(!user.messages.last().atPointer);
    }

    void placement()
    {
        // A 300 x 100 box on a 1920 x 1080 screen, centred on the pointer but never off the screen.
        QCOMPARE(PlaceAtPointer(QSize(1920, 1080), QSize(300, 100), QPoint(960, 540)), QPoint(810, 490));
        QCOMPARE(PlaceAtPointer(QSize(1920, 1080), QSize(300, 100), QPoint(5, 5)), QPoint(0, 0));
        QCOMPARE(PlaceAtPointer(QSize(1920, 1080), QSize(300, 100), QPoint(1919, 1079)), QPoint(1620, 980));
    }

    void consoleAnswersSafely_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("answer");
        QTest::newRow("ok") << 0 << MessageAnswer::Ok;
        QTest::newRow("ok/cancel") << 1 << MessageAnswer::Cancel;
        QTest::newRow("yes/no") << 4 + 32 << MessageAnswer::No;
    }

    void consoleAnswersSafely()
    {
        QFETCH(int, style);
        QFETCH(int, answer);
        std::FILE *sink = std::tmpfile();
        ConsoleUserChannel console(sink);
        QCOMPARE(ShowMessage(console, QStringLiteral("エラー発生\r\n保存しますか？"), style), answer);
        console.showStatus(QStringLiteral("ファイル処理中"), 0, false);
        std::rewind(sink);
        char buffer[512] = {};
        const size_t read = std::fread(buffer, 1, sizeof buffer - 1, sink);
        std::fclose(sink);
        const QString printed = QString::fromUtf8(buffer, qsizetype(read));
        QVERIFY(printed.contains(QStringLiteral("[Corvane] エラー発生\n保存しますか？")));
        QVERIFY(printed.contains(QStringLiteral("ファイル処理中")));
    }
};

QTEST_GUILESS_MAIN(TestShowMessage)
#include "tst_showmessage.moc"
