#include "persist/commandfile.h"
#include "platform/codepage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QChar sep = QChar(0x0001);

// A set-up with every input filled with something other than its reset value.
CommandSetup filledSetup(const QString &job)
{
    CommandSetup setup;
    setup.jobLabel = job;
    setup.folderPath = QStringLiteral("/home/user/音楽");
    setup.searchText = QStringLiteral("^(\\d+)(?=_)");
    setup.replaceText = QStringLiteral("<format($1,\"000\")>");
    for (int i = 1; i <= 13; ++i) {
        setup.tagTemplates << QStringLiteral("$%1 template").arg(i);
        setup.tagColumnWidths << 100 * i;
    }
    setup.baseName = QStringLiteral("写真");
    setup.startNo = QStringLiteral("17");
    setup.digits = QStringLiteral(" 3");
    setup.addTop = false;
    setup.separator = QStringLiteral("_");
    setup.stepMinutes = QStringLiteral("15");
    return setup;
}

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
        QTest::addColumn<QString>("job");
        QTest::addColumn<QString>("keys");
        QTest::newRow("numbering") << "連番作成" << "Com,FolderPath,BaseName,StNo,Cols,AddTop,Separator";
        QTest::newRow("replace") << "ファイル名置換" << "Com,FolderPath,Search,Replace";
        QTest::newRow("created") << "作成日変更" << "Com,FolderPath,Step";
        QTest::newRow("mp3") << "ＭＰ３タグ編集" << "Com,FolderPath,Search,Tag,TagWidth";
        QTest::newRow("folder") << "フォルダ名変更" << "Com,FolderPath,Search,Replace";
    }

    // Each job writes its own entries, in this order, and reads every one back.
    void roundTripPerJob()
    {
        QFETCH(QString, job);
        QFETCH(QString, keys);
        const CommandSetup saved = filledSetup(job);
        const QString text = CommandFileText(saved);
        QStringList written;
        for (const QString &line : text.split(QStringLiteral("\r\n")))
            written << line.section(u'=', 0, 0);
        QCOMPARE(written.join(u','), keys + u',');
        QVERIFY(text.startsWith(QStringLiteral("Com=") + job + QStringLiteral("\r\nFolderPath=/home/user/音楽\r\n")));

        const QString file = path(QStringLiteral("job.dat"));
        QCOMPARE(CommandFileSave(file, saved), QString());
        CommandSetup loaded = blankSetup();
        CommandFileLoad(file).applyTo(&loaded);
        QCOMPARE(CommandFileText(loaded), text);
        // An empty path writes nothing and is no error.
        QCOMPARE(CommandFileSave(QString(), saved), QString());
    }

    void entries_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("replace");
        QTest::addColumn<QString>("job");
        QTest::newRow("value holding =") << "Search=a(?=b)=c\r\n" << "a(?=b)=c" << "" << "";
        QTest::newRow("lower-case keys ignored") << "com=連番作成\r\nsearch=x\r\nREPLACE=y\r\n" << "" << "" << "";
        QTest::newRow("blanks around = belong to key and value") << "Search = x\r\nReplace= y \r\n" << "" << " y " << "";
        QTest::newRow("entry without = skipped") << "Search\r\nReplace=r" << "" << "r" << "";
        QTest::newRow("later entry wins") << "Search=a\r\nSearch=b\r\n" << "b" << "" << "";
        QTest::newRow("one line, tab-separated")
            << "Com=ファイル名置換\tSearch=(\\d+)\tReplace=#$1" << "(\\d+)" << "#$1" << "ファイル名置換";
        QTest::newRow("line feeds alone") << "Com=フォルダ名変更\nSearch=s\nReplace=t\n" << "s" << "t" << "フォルダ名変更";
    }

    void entries()
    {
        QFETCH(QString, text);
        QFETCH(QString, search);
        QFETCH(QString, replace);
        QFETCH(QString, job);
        CommandSetup setup;
        CommandFile::parse(text).applyTo(&setup);
        QCOMPARE(setup.searchText, search);
        QCOMPARE(setup.replaceText, replace);
        QCOMPARE(setup.jobLabel, job);
    }

    void tagTemplates()
    {
        CommandSetup saved = filledSetup(QStringLiteral("ＭＰ３タグ編集"));
        saved.tagTemplates[4] = QString(); // an empty template is kept as empty
        const QString text = CommandFileText(saved);
        const QString value = text.split(QStringLiteral("\r\n")).filter(QStringLiteral("Tag=")).first().mid(4);
        QVERIFY(value.startsWith(sep) && value.endsWith(sep));
        QCOMPARE(value.count(sep), 14);
        CommandSetup loaded = blankSetup();
        CommandFile::parse(text).applyTo(&loaded);
        QCOMPARE(loaded.tagTemplates, saved.tagTemplates);

        // Fewer templates than boxes: the others stay as they are.
        loaded = blankSetup();
        CommandFile::parse(u"Tag=" + sep + u"<T>x" + sep + u"$2" + sep).applyTo(&loaded);
        QCOMPARE(loaded.tagTemplates.mid(0, 3), QStringList({QStringLiteral("<T>x"), QStringLiteral("$2"), QStringLiteral("<Artist>")}));

        // More templates than boxes: the surplus is dropped.
        CommandSetup few;
        few.tagTemplates = QStringList{QStringLiteral("a"), QStringLiteral("b")};
        CommandFile::parse(u"Tag=" + sep + u"1" + sep + u"2" + sep + u"3" + sep).applyTo(&few);
        QCOMPARE(few.tagTemplates, QStringList({QStringLiteral("1"), QStringLiteral("2")}));
    }

    // Items that are no width leave the column as it is.
    void tagWidths()
    {
        CommandSetup setup = blankSetup();
        const QString items = QStringList{u"700"_qs, u"-5"_qs, u"12px"_qs, u"1e12"_qs, u"900"_qs}.join(sep);
        CommandFile::parse(u"TagWidth=" + sep + items + sep).applyTo(&setup);
        QCOMPARE(setup.tagColumnWidths.mid(0, 6), QList<int>({700, 1000, 1000, 1000, 900, 1000}));
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

    void oldCodePage932File()
    {
        // As an older system wrote it: code page 932, CR LF, the step with leading zeros.
        const QString text = QStringLiteral("Com=連番作成\r\nFolderPath=C:\\写真\r\nBaseName=旅行～\r\nStNo=1\r\n"
                                            "Cols=3\r\nAddTop=0\r\nSeparator=＿\r\nStep=007\r\n");
        QFile file(path(QStringLiteral("old.dat")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(CodePage::toCp932(text));
        file.close();

        CommandSetup setup = blankSetup();
        CommandFileLoad(file.fileName()).applyTo(&setup);
        QCOMPARE(setup.baseName, QStringLiteral("旅行～"));
        QCOMPARE(setup.addTop, false);
        QCOMPARE(setup.stepMinutes, QStringLiteral("7"));

        // Written back without a byte-order mark, exactly as it was.
        QCOMPARE(CommandFileSave(file.fileName(), setup), QString());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), CodePage::toCp932(QString(text).replace(QStringLiteral("Step=007\r\n"), QString())));
    }
};

QTEST_GUILESS_MAIN(TestCommandFile)
#include "tst_commandfile.moc"
