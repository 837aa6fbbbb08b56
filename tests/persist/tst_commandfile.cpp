#include "persist/commandfile.h"
#include "platform/codepage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QChar sep = QChar(0x0001);

CommandSetup blankSetup()
{
    CommandSetup setup;
    QStringList headers = {QStringLiteral("FileName."), QStringLiteral("Title"), QStringLiteral("Artist")};
    while (headers.size() < 13)
        headers << QStringLiteral("Column%1").arg(headers.size());
    ResetCommandSetup(&setup, headers);
    setup.tagColumnWidths = QList<int>(13, 1000);
    return setup;
}

} // namespace

class TestCommandFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void roundTripPerJob_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("saved"); // empty where the file is written back as it was
        const QString numbering = u"Com=連番作成\r\nFolderPath=C:\\写真\r\nBaseName=旅行～\r\nStNo=1\r\nCols=3\r\nAddTop=%1\r\n"
                                  "Separator=＿\r\n"_qs;
        QTest::newRow("numbering, with a step it does not keep") << numbering.arg(0) + u"Step=007\r\n" << numbering.arg(0);
        QTest::newRow("numbering, number first") << numbering.arg(1) << QString();
        const QString replace = u"Com=ファイル名置換\r\nFolderPath=/home/user/音楽\r\nSearch=^(\\d+)(?=_)\r\n"
                                u"Replace=<format($1,\"000\")>\r\n"_qs;
        QTest::newRow("replace") << replace + u"ReplaceScope=2\r\n" << QString();
        // Files written before the scope and the EXIF choice meant the whole name and base and step.
        QTest::newRow("replace, older file") << replace << replace + u"ReplaceScope=0\r\n";
        const QString created = u"Com=作成日変更\r\nFolderPath=/home/user/音楽\r\n"_qs;
        QTest::newRow("created, step with leading zeros")
            << created + u"Step=007\r\nUseExifTime=1\r\n" << created + u"Step=7\r\nUseExifTime=1\r\n";
        QTest::newRow("created, older file") << created + u"Step=0\r\n" << created + u"Step=0\r\nUseExifTime=0\r\n";
        QStringList templates, widths;
        for (int i = 1; i <= 13; ++i) {
            templates << (i == 5 ? QString() : QStringLiteral("$%1 template").arg(i));
            widths << QString::number(100 * i);
        }
        QTest::newRow("mp3") << u"Com=ＭＰ３タグ編集\r\nFolderPath=/home/user/音楽\r\nSearch=(\\d+)\r\nTag="_qs + sep + templates.join(sep)
                                    + sep + u"\r\nTagWidth=" + sep + widths.join(sep) + sep + u"\r\n"
                             << QString();
        QTest::newRow("folder") << "Com=フォルダ名変更\r\nFolderPath=/home/user/音楽\r\nSearch=s\r\nReplace=t\r\n" << QString();
    }

    // Each job writes its own entries, in this order, as code page 932 where that holds them.
    void roundTripPerJob()
    {
        QFETCH(QString, file);
        QFETCH(QString, saved);
        QFile job(path(QStringLiteral("job.dat")));
        QVERIFY(job.open(QIODevice::WriteOnly | QIODevice::Truncate));
        job.write(CodePage::toCp932(file));
        job.close();
        CommandSetup setup = blankSetup();
        setup.replaceScope = 1;
        setup.useExifTime = true;
        CommandFileLoad(job.fileName()).applyTo(&setup);
        QCOMPARE(CommandFileSave(job.fileName(), setup), QString());
        QVERIFY(job.open(QIODevice::ReadOnly));
        QCOMPARE(job.readAll(), CodePage::toCp932(saved.isEmpty() ? file : saved));
        // An empty path writes nothing and is no error.
        QCOMPARE(CommandFileSave(QString(), setup), QString());
    }

    void entries_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("read"); // search, replace, job
        QTest::newRow("value holding =") << "Search=a(?=b)=c\r\n" << QStringList{"a(?=b)=c", "", ""};
        QTest::newRow("lower-case keys ignored") << "com=連番作成\r\nsearch=x\r\nREPLACE=y\r\n" << QStringList{"", "", ""};
        QTest::newRow("blanks around = belong to key and value") << "Search = x\r\nReplace= y \r\n" << QStringList{"", " y ", ""};
        QTest::newRow("entry without = skipped") << "Search\r\nReplace=r" << QStringList{"", "r", ""};
        QTest::newRow("later entry wins") << "Search=a\r\nSearch=b\r\n" << QStringList{"b", "", ""};
        QTest::newRow("one line, tab-separated")
            << "Com=ファイル名置換\tSearch=(\\d+)\tReplace=#$1" << QStringList{"(\\d+)", "#$1", "ファイル名置換"};
        QTest::newRow("line feeds alone") << "Com=フォルダ名変更\nSearch=s\nReplace=t\n" << QStringList{"s", "t", "フォルダ名変更"};
    }

    void entries()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, read);
        CommandSetup setup;
        CommandFile::parse(text).applyTo(&setup);
        QCOMPARE(QStringList({setup.searchText, setup.replaceText, setup.jobLabel}), read);
    }

    // Fewer templates than boxes leave the other boxes alone, surplus items are
    // dropped, and items that are no width leave their columns as they are.
    void tagItems()
    {
        CommandSetup setup;
        setup.tagTemplates = QStringList{u"a"_qs, u"b"_qs, u"c"_qs};
        setup.tagColumnWidths = QList<int>(4, 1000);
        const QString widths = QStringList{u"700"_qs, u"-5"_qs, u"12px"_qs, u"1e12"_qs, u"900"_qs}.join(sep);
        CommandFile::parse(u"Tag=" + sep + u"<T>x" + sep + u"$2" + sep + u"\r\nTagWidth=" + sep + widths + sep).applyTo(&setup);
        QCOMPARE(setup.tagTemplates, QStringList({u"<T>x"_qs, u"$2"_qs, u"c"_qs}));
        QCOMPARE(setup.tagColumnWidths, QList<int>({700, 1000, 1000, 1000}));
        CommandFile::parse(u"Tag=" + sep + QStringList{u"1"_qs, u"2"_qs, u"3"_qs, u"4"_qs}.join(sep)).applyTo(&setup);
        QCOMPARE(setup.tagTemplates, QStringList({u"1"_qs, u"2"_qs, u"3"_qs}));
    }

    void refusedFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("unknown job") << QByteArray("Com=MP3\xE3\x82\xBF\xE3\x82\xB0\xE7\xB7\xA8\xE9\x9B\x86\r\nSearch=x")
                                     << QStringLiteral("Com=MP3タグ編集 という作業はありません");
        QTest::newRow("blank after the job") << QByteArray("Com=\x98\x41\x94\xD4\x8D\xEC\x90\xAC \r\n")
                                             << QStringLiteral("Com=連番作成  という作業はありません");
        QTest::newRow("empty") << QByteArray() << QStringLiteral("コマンドファイルに設定が一つもありません");
        QTest::newRow("binary") << QByteArray("Search=a\0\x01\xFF", 12)
                                << QStringLiteral("コマンドファイルではありません（テキストではありません）");
        QTest::newRow("folder") << QByteArray() << QString();
    }

    // A file that cannot be what it should is refused whole, with the reason and its path.
    void refusedFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const QString file = path(QString::fromLatin1(QTest::currentDataTag()) + u".dat");
        QFile out(file);
        QVERIFY(reason.isEmpty() ? QDir().mkpath(file) : out.open(QIODevice::WriteOnly) && out.write(bytes) >= 0);
        out.close();
        QString error;
        QVERIFY(CommandFileLoad(file, &error).isEmpty());
        QVERIFY(error.endsWith(QStringLiteral("\r\n\r\n") + file));
        if (!reason.isEmpty())
            QCOMPARE(error.section(QStringLiteral("\r\n"), 0, 0), reason);

        // A missing file reads as one without entries.
        QVERIFY(CommandFileLoad(path(QStringLiteral("none.dat")), &error).isEmpty());
        QCOMPARE(error, QString());
    }
};

QTEST_GUILESS_MAIN(TestCommandFile)
#include "tst_commandfile.moc"
