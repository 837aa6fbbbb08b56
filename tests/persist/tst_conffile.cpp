#include "persist/conffile.h"
#include "persist/settings.h"
#include "platform/codepage.h"
#include "scripteduserchannel.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestConfFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    ScriptedUserChannel m_user;

    QString confPath() const { return m_dir.filePath(QStringLiteral("Conf.txt")); }

    void writeBytes(const QByteArray &bytes)
    {
        QFile file(confPath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    QString savedText(const Settings &settings)
    {
        const QString path = m_dir.filePath(QStringLiteral("saved.txt"));
        QFile file(path);
        if (!ConfSave(path, settings).isEmpty() || !file.open(QIODevice::ReadOnly))
            return {};
        return CodePage::decodeText(file.readAll());
    }

private Q_SLOTS:
    void init()
    {
        QFile::remove(confPath());
        m_user.clear();
    }

    void defaultsWrittenInFileOrder()
    {
        const Settings settings = Settings::defaults(QSize(1920, 1080), QStringLiteral("IPAGothic"), 9);
        QString expected = QStringLiteral(
            "form left = 560\nform top = 390\nform right = 1360\nform bottom = 690\nop = 1\n"
            "disptop = 0\ntransparent = 0\ntransparency = 150\ninit dir = \ndisp menu = 0\n"
            "stno =  1\ndegits =  2\nincrement =   1\nincrement date =   0\nadd top = 1\n"
            "separator = \nid3 disp = 0\nid3 v1.x = 1\nid3 v2.x = 1\n"
            "column width1 = 3200\ncolumn width2 = 3200\ncolumn width3 = 2200\ncolumn width4 = 2200\n"
            "column width5 = 1500\ncolumn width6 = 8000\ncolumn width7 = 0\ncolumn width8 = 0\n"
            "column width9 = 0\ncolumn width10 = 0\n"
            "font name = IPAGothic\nfont size = 9\nlist height = 6000\nlist width = 7000\n"
            "only top folder =0\nno try =0\nno confirm =0\nerror continue =0\nignore case = 0\nreg order =0\n"
            "reg search str = \nreg replace str = \n"
            "template left = 2100\ntemplate top = 2100\ntemplate width = 11250\ntemplate height = 7500\n");
        QCOMPARE(savedText(settings), expected.replace(u'\n', QStringLiteral("\r\n")));
    }

    // Every field differs from its default, so a field that is not saved or
    // not read back shows.
    void everySettingRoundTrips()
    {
        Settings saved = Settings::defaults(QSize(1024, 768));
        saved.formLeft = -20;
        saved.formTop = 15;
        saved.formRight = 1900;
        saved.formBottom = 1000;
        saved.jobPosition = 4;
        saved.stayOnTop = saved.semiTransparent = saved.menuBarShown = saved.showId3Choice = saved.onlyTopFolder = true;
        saved.noTry = saved.noConfirm = saved.errorContinue = saved.ignoreCase = saved.regOrder = true;
        saved.addTop = saved.tagV1 = saved.tagV2 = false;
        saved.opacity = 200;
        saved.commandFileFolder = QStringLiteral("/home/zoë/🎵 a=b");
        saved.startNo = QStringLiteral("17");
        saved.digits = QStringLiteral(" 5");
        saved.step = QStringLiteral(" 10");
        saved.stepMinutes = QStringLiteral(" 90");
        saved.separator = QStringLiteral(" - ");
        saved.listColumnWidths = {1000, 1100, 1200, 1300, 1400, 8000, 0, 0, 0, 0};
        saved.listFontName = QStringLiteral("IPAゴシック");
        saved.listFontSize = 10.5;
        saved.dataEditorHeight = 5000;
        saved.dataEditorWidth = 9000;
        saved.searchHistory = QStringLiteral("(?=\\.)\t^abc$\t 先頭");
        saved.replaceHistory = QStringLiteral("<format($1,\"000\")>\tx ");
        saved.templateLeft = 100;
        saved.templateTop = 200;
        saved.templateWidth = 9000;
        saved.templateHeight = 6000;
        QCOMPARE(ConfSave(confPath(), saved), QString());
        Settings loaded = Settings::defaults(QSize(1024, 768));
        QCOMPARE(ConfLoad(confPath(), &loaded, m_user), QString());
        QCOMPARE(loaded, saved);

        // Saving again replaces the whole file.
        QCOMPARE(ConfSave(confPath(), Settings()), QString());
        QCOMPARE(ConfLoad(confPath(), &loaded, m_user), QString());
        QCOMPARE(loaded, Settings());
    }

    void readingRules_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("savedLine");
        QTest::newRow("only the blank after = goes") << "separator =  - " << "separator =  - ";
        QTest::newRow("value holding = is kept") << "reg search str = (?=x)" << "reg search str = (?=x)";
        QTest::newRow("CR alone ends a line") << "op = 2\rdisptop = 1\r" << "disptop = 1";
        QTest::newRow("number with a fraction") << "font size = 10.25pt" << "font size = 10.25";
        QTest::newRow("halves round to even") << "transparency = 100.5" << "transparency = 100";
        QTest::newRow("e without digits") << "list height = 2em" << "list height = 2";
        QTest::newRow("blanks between digits") << "list width = 1 000" << "list width = 1000";
        QTest::newRow("line without =") << "op 3" << "op = 1";
        QTest::newRow("start number keeps its last two characters") << "stno = 123" << "stno = 23";
        QTest::newRow("start number not numeric") << "stno = abc" << "stno =  0";
        QTest::newRow("date step keeps its last three") << "increment date = 1234" << "increment date = 234";
        QTest::newRow("flag any non-zero is on") << "no try = 5" << "no try =-1";
        QTest::newRow("only go sets no confirm") << "only go = -1" << "no confirm =-1";
        QTest::newRow("column number spelled otherwise") << "column width01 = 99" << "column width1 = 3200";
        QTest::newRow("folder column width ignored") << "column width6 = 99" << "column width6 = 8000";
        QTest::newRow("text keeps trailing blanks") << "font name = Noto Sans  " << "font name = Noto Sans  ";
        QTest::newRow("unknown key ignored") << "colour = 3\r\nop = 2" << "op = 2";
        QTest::newRow("code page 932, as older files are") << "font name = ＭＳ Ｐゴシック" << "font name = ＭＳ Ｐゴシック";
    }

    void readingRules()
    {
        QFETCH(QString, file);
        QFETCH(QString, savedLine);
        writeBytes(CodePage::toCp932(file));
        Settings settings;
        QCOMPARE(ConfLoad(confPath(), &settings, m_user), QString());
        const QString saved = u"\r\n" + savedText(settings);
        QVERIFY2(saved.contains(u"\r\n" + savedLine + u"\r\n"), qPrintable(saved));
    }

    void mp3WidthsAreReadOnly()
    {
        writeBytes("column mp3 width2 = 999\r\ncolumn mp3 width10 = 5\r\ncolumn mp3 width12 = 777\r\n"
                   "column mp3 width15 = 5\r\ncolumn mp3 width16 = 1e99\r\n");
        Settings settings;
        QCOMPARE(ConfLoad(confPath(), &settings, m_user), QString());
        QCOMPARE(settings.mp3ColumnWidths, QList<int>({2000, 999, 1800, 1600, 1000, 1000, 1000, 800, 1200, 0, 0, 777, 0}));
        QVERIFY(!savedText(settings).contains(QStringLiteral("mp3")));
    }

    void damagedFileKeepsWhatWasRead()
    {
        // Binary junk, a cut-off line and an empty key among good lines.
        QByteArray bytes("op = 2\r\n\x00\xff\xfe=\x81\r\n= 5\r\nform left\r\n");
        writeBytes(bytes + QByteArray(300, '\xA5') + "\r\ntemplate top = 100");
        Settings settings;
        QCOMPARE(ConfLoad(confPath(), &settings, m_user), QString());
        QVERIFY(m_user.messages.isEmpty());
        QCOMPARE(settings.jobPosition, 2);
        QCOMPARE(settings.templateTop, 100);
        QCOMPARE(settings.formLeft, Settings().formLeft);
    }

    void numberBeyond32BitsKeepsOnlyItsDefault()
    {
        writeBytes("op = 3\r\nform left = 99999999999\r\nop = 4\r\ndisptop = 1\r\n");
        Settings settings = Settings::defaults(QSize(1000, 800));
        const QString error = ConfLoad(confPath(), &settings, m_user);
        QVERIFY(!error.isEmpty());
        QCOMPARE(m_user.messages.size(), 1);
        QCOMPARE(m_user.messages.first().title, QStringLiteral("設定値異常"));
        QCOMPARE(m_user.lastPrompt(), error + QStringLiteral("\r\n\r\n設定値ファイル（Conf.txt）異常"));
        QCOMPARE(settings.formLeft, 100);
        // The lines after it still count, so closing the window writes them back.
        QCOMPARE(settings.jobPosition, 4);
        QVERIFY(settings.stayOnTop);
    }

    void missingOrUnreadableFile()
    {
        Settings settings = Settings::defaults(QSize(1280, 1024));
        QCOMPARE(ConfLoad(confPath(), &settings, m_user), QString());
        QVERIFY(m_user.messages.isEmpty());
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("Conf.txt")));
        QVERIFY(!ConfLoad(confPath(), &settings, m_user).isEmpty());
        QCOMPARE(m_user.messages.size(), 1);
        QCOMPARE(settings, Settings::defaults(QSize(1280, 1024)));
        QVERIFY(QDir(m_dir.path()).rmdir(QStringLiteral("Conf.txt")));
        // Writing where a folder is in the way fails with a reason.
        QVERIFY(!ConfSave(m_dir.filePath(QStringLiteral("missing/Conf.txt")), settings).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestConfFile)
#include "tst_conffile.moc"
