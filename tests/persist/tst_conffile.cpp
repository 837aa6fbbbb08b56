#include "persist/conffile.h"
#include "persist/settingfield.h"
#include "persist/settings.h"
#include "platform/codepage.h"
#include "scripteduserchannel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

    // Every setting away from its default, in a file with line feeds alone and
    // text beyond code page 932: read and saved, it comes back line for line.
    void everySettingRoundTrips()
    {
        const QString file = QStringLiteral(
            "form left = -20\nform top = 15\nform right = 1900\nform bottom = 1000\nop = 4\n"
            "disptop = 1\ntransparent = 1\ntransparency = 200\ninit dir = /home/zoë/🎵 a=b\ndisp menu = 1\n"
            "stno = 17\ndegits =  5\nincrement =  10\nincrement date =  90\nadd top = 0\n"
            "separator =  - \nid3 disp = 1\nid3 v1.x = 0\nid3 v2.x = 0\n"
            "column width1 = 1000\ncolumn width2 = 1100\ncolumn width3 = 1200\ncolumn width4 = 1300\n"
            "column width5 = 1400\ncolumn width6 = 8000\ncolumn width7 = 0\ncolumn width8 = 0\n"
            "column width9 = 0\ncolumn width10 = 0\n"
            "font name = IPAゴシック\nfont size = 10.5\nlist height = 5000\nlist width = 9000\n"
            "only top folder =-1\nno try =-1\nno confirm =-1\nerror continue =-1\nignore case = -1\nreg order =-1\n"
            "reg search str = (?=\\.)\t^abc$\t 先頭\nreg replace str = <format($1,\"000\")>\tx \n"
            "template left = 100\ntemplate top = 200\ntemplate width = 9000\ntemplate height = 6000\n"
            "live preview = 0\nreplace scope = 2\nuse exif time = 1\n");
        // The MP3 list's widths are read, but the list keeps them to itself.
        writeBytes((file + u"column mp3 width2 = 999\ncolumn mp3 width10 = 5\ncolumn mp3 width12 = 777\n"
                           "column mp3 width15 = 5\ncolumn mp3 width16 = 1e99\n").toUtf8());
        Settings settings = Settings::defaults(QSize(1024, 768));
        QCOMPARE(ConfLoad(confPath(), &settings, m_user), QString());
        QCOMPARE(settings.mp3ColumnWidths, QList<int>({2000, 999, 1800, 1600, 1000, 1000, 1000, 800, 1200, 0, 0, 777, 0}));
        const QStringList lines = QString(file).replace(u'\n', QStringLiteral("\r\n")).split(QStringLiteral("\r\n"));
        QCOMPARE(savedText(settings).split(QStringLiteral("\r\n")), lines);

        // Each setting has a member of its own: putting one back to its default changes its own lines only.
        for (const SettingField &field : SettingFields()) {
            Settings one = settings;
            field.reset(&one);
            const QStringList saved = savedText(one).split(QStringLiteral("\r\n"));
            QCOMPARE(saved.size(), lines.size());
            int changed = 0;
            for (qsizetype i = 0; i < lines.size(); ++i) {
                if (saved[i] != lines[i]) {
                    QVERIFY2(saved[i].startsWith(field.key), qPrintable(field.key + u": " + saved[i]));
                    ++changed;
                }
            }
            QVERIFY(changed > 0 || field.writing == SettingWriting::Never);
        }
    }

    void readingRules_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("savedLine");
        QTest::newRow("CR alone ends a line") << QByteArray("op = 2\rdisptop = 1\r") << "disptop = 1";
        QTest::newRow("number with a fraction") << QByteArray("font size = 10.25pt") << "font size = 10.25";
        QTest::newRow("halves round to even") << QByteArray("transparency = 100.5") << "transparency = 100";
        QTest::newRow("line without =") << QByteArray("op 3") << "op = 1";
        QTest::newRow("start number keeps its last two characters") << QByteArray("stno = 123") << "stno = 23";
        QTest::newRow("start number not numeric") << QByteArray("stno = abc") << "stno =  0";
        QTest::newRow("date step keeps its last three") << QByteArray("increment date = 1234") << "increment date = 234";
        QTest::newRow("flag any non-zero is on") << QByteArray("no try = 5") << "no try =-1";
        QTest::newRow("only go sets no confirm") << QByteArray("only go = -1") << "no confirm =-1";
        QTest::newRow("column number spelled otherwise") << QByteArray("column width01 = 99") << "column width1 = 3200";
        QTest::newRow("folder column width ignored") << QByteArray("column width6 = 99") << "column width6 = 8000";
        QTest::newRow("unknown key ignored") << QByteArray("colour = 3\r\nop = 2") << "op = 2";
        QTest::newRow("code page 932, as older files are") << CodePage::toCp932(u"font name = ＭＳ Ｐゴシック"_qs)
                                                           << "font name = ＭＳ Ｐゴシック";
        // Binary junk, a cut-off line and an empty key do not stop the reading.
        QTest::newRow("damaged") << QByteArray("op = 2\r\n\x00\xff\xfe=\x81\r\n= 5\r\nform left\r\n", 31) + QByteArray(300, '\xA5')
                                        + "\r\ntemplate top = 100"
                                 << "template top = 100";
    }

    void readingRules()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, savedLine);
        writeBytes(file);
        Settings settings;
        QCOMPARE(ConfLoad(confPath(), &settings, m_user), QString());
        QVERIFY(m_user.messages.isEmpty());
        const QString saved = u"\r\n" + savedText(settings);
        QVERIFY2(saved.contains(u"\r\n" + savedLine + u"\r\n"), qPrintable(saved));
    }

    void filesItCannotUse()
    {
        // No file: the defaults, silently, saved in file order.
        const Settings defaults = Settings::defaults(QSize(1920, 1080), QStringLiteral("IPAGothic"), 9);
        Settings settings = defaults;
        QCOMPARE(ConfLoad(confPath(), &settings, m_user), QString());
        QVERIFY(m_user.messages.isEmpty());
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
            "template left = 2100\ntemplate top = 2100\ntemplate width = 11250\ntemplate height = 7500\n"
            "live preview = 1\nreplace scope = 0\nuse exif time = 0\n");
        QCOMPARE(savedText(settings), expected.replace(u'\n', QStringLiteral("\r\n")));
        // A folder in the way: a message, and the defaults stay.
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("Conf.txt")));
        QVERIFY(!ConfLoad(confPath(), &settings, m_user).isEmpty());
        QCOMPARE(m_user.messages.size(), 1);
        QCOMPARE(settings, defaults);
        QVERIFY(QDir(m_dir.path()).rmdir(QStringLiteral("Conf.txt")));
        // A link planted in its place, or a file others may write to, is refused
        // by name: never read, and never written through or over.
        const QString victim = m_dir.filePath(QStringLiteral("victim"));
        QFile planted(victim);
        QVERIFY(planted.open(QIODevice::WriteOnly) && planted.write("op = 4\r\n") == 8);
        planted.close();
        QVERIFY(QFile::link(victim, confPath()));
        for (const QString &path : {confPath(), victim}) {
            if (path == victim)
                QVERIFY(QFile::setPermissions(victim, planted.permissions() | QFileDevice::WriteOther));
            QVERIFY(ConfLoad(path, &settings, m_user).endsWith(path));
            QVERIFY(ConfSave(path, settings).endsWith(path));
            QCOMPARE(settings, defaults);
        }
        QCOMPARE(m_user.messages.size(), 3);
        QVERIFY(QFileInfo(confPath()).isSymLink() && planted.open(QIODevice::ReadOnly) && planted.readAll() == "op = 4\r\n");
        QVERIFY(QFile::remove(confPath()));

        // A number beyond 32 bits keeps only its default; the lines after it still
        // count, so closing the window writes them back.
        writeBytes("op = 3\r\nform left = 99999999999\r\nop = 4\r\ndisptop = 1\r\n");
        const QString error = ConfLoad(confPath(), &settings, m_user);
        QVERIFY(!error.isEmpty());
        QCOMPARE(m_user.messages.size(), 4);
        QCOMPARE(m_user.messages.last().title, QStringLiteral("設定値異常"));
        QCOMPARE(m_user.lastPrompt(), error + QStringLiteral("\r\n\r\n設定値ファイル（Conf.txt）異常"));
        QCOMPARE(settings.formLeft, defaults.formLeft);
        QCOMPARE(settings.jobPosition, 4);
        QVERIFY(settings.stayOnTop);

        // Writing into a folder that is not there fails with a reason.
        QVERIFY(!ConfSave(m_dir.filePath(QStringLiteral("missing/Conf.txt")), settings).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestConfFile)
#include "tst_conffile.moc"
