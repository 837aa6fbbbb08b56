#include "persist/commandfile.h"
#include "platform/codepage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QStringList mp3Headers = {
    QStringLiteral("FileName."), QStringLiteral("Title"), QStringLiteral("Artist"), QStringLiteral("Album"),
    QStringLiteral("Genre"), QStringLiteral("TruckNo"), QStringLiteral("Encode"), QStringLiteral("Year"),
    QStringLiteral("Comment"), QStringLiteral("Path."), QStringLiteral("並べ替え用."), QStringLiteral("ID3 Ver."),
    QStringLiteral("Save.")};

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
    ResetCommandSetup(&setup, mp3Headers);
    setup.tagColumnWidths = QList<int>(13, 1000);
    return setup;
}

} // namespace

class TestCommandFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void roundTripPerJob_data();
    void roundTripPerJob();
    void entries_data();
    void entries();
    void tagTemplates();
    void tagWidths_data();
    void tagWidths();
    void refusedFiles_data();
    void refusedFiles();
    void oldCodePage932File();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

void TestCommandFile::init()
{
    QVERIFY(m_dir.isValid());
}

void TestCommandFile::roundTripPerJob_data()
{
    QTest::addColumn<QString>("job");
    QTest::addColumn<QStringList>("keys");
    const auto keys = [](const QString &own) { return QString(QStringLiteral("Com,FolderPath,") + own).split(u','); };
    QTest::newRow("numbering") << "連番作成" << keys(QString::fromUtf16(u"BaseName,StNo,Cols,AddTop,Separator"));
    QTest::newRow("replace") << "ファイル名置換" << keys(QString::fromUtf16(u"Search,Replace"));
    QTest::newRow("created") << "作成日変更" << keys(QString::fromUtf16(u"Step"));
    QTest::newRow("mp3") << "ＭＰ３タグ編集" << keys(QString::fromUtf16(u"Search,Tag,TagWidth"));
    QTest::newRow("folder") << "フォルダ名変更" << keys(QString::fromUtf16(u"Search,Replace"));
}

// Each job writes its own entries, in this order, and reads back only those.
void TestCommandFile::roundTripPerJob()
{
    QFETCH(QString, job);
    QFETCH(QStringList, keys);
    const CommandSetup saved = filledSetup(job);
    const QString text = CommandFileText(saved);
    QVERIFY(text.endsWith(QStringLiteral("\r\n")));
    QStringList written;
    for (const QString &line : text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        written << line.section(u'=', 0, 0);
    QCOMPARE(written, keys);
    QVERIFY(text.startsWith(QStringLiteral("Com=") + job + QStringLiteral("\r\nFolderPath=/home/user/音楽\r\n")));

    const QString file = path(QStringLiteral("job.dat"));
    QCOMPARE(CommandFileSave(file, saved), QString());

    CommandSetup loaded = blankSetup();
    CommandFileLoad(file).applyTo(&loaded);
    QCOMPARE(loaded.jobLabel, job);
    QCOMPARE(loaded.folderPath, saved.folderPath);
    const CommandSetup blank = blankSetup();
    QCOMPARE(loaded.searchText, keys.contains(u"Search") ? saved.searchText : blank.searchText);
    QCOMPARE(loaded.replaceText, keys.contains(u"Replace") ? saved.replaceText : blank.replaceText);
    QCOMPARE(loaded.tagTemplates, keys.contains(u"Tag") ? saved.tagTemplates : blank.tagTemplates);
    QCOMPARE(loaded.tagColumnWidths, keys.contains(u"TagWidth") ? saved.tagColumnWidths : blank.tagColumnWidths);
    QCOMPARE(loaded.baseName, keys.contains(u"BaseName") ? saved.baseName : blank.baseName);
    QCOMPARE(loaded.startNo, keys.contains(u"StNo") ? saved.startNo : blank.startNo);
    QCOMPARE(loaded.digits, keys.contains(u"Cols") ? saved.digits : blank.digits);
    QCOMPARE(loaded.addTop, keys.contains(u"AddTop") ? saved.addTop : blank.addTop);
    QCOMPARE(loaded.separator, keys.contains(u"Separator") ? saved.separator : blank.separator);
    QCOMPARE(loaded.stepMinutes, keys.contains(u"Step") ? saved.stepMinutes : blank.stepMinutes);

    // An empty path writes nothing and is no error.
    QCOMPARE(CommandFileSave(QString(), saved), QString());
}

void TestCommandFile::entries_data()
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

void TestCommandFile::entries()
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

void TestCommandFile::tagTemplates()
{
    CommandSetup saved = filledSetup(QStringLiteral("ＭＰ３タグ編集"));
    saved.tagTemplates[4] = QString(); // an empty template is kept as empty
    const QString text = CommandFileText(saved);
    const QString tagLine = text.split(QStringLiteral("\r\n")).filter(QStringLiteral("Tag=")).first();
    const QString value = tagLine.mid(4);
    QVERIFY(value.startsWith(sep) && value.endsWith(sep));
    QCOMPARE(value.count(sep), 14);

    CommandSetup loaded = blankSetup();
    CommandFile::parse(text).applyTo(&loaded);
    QCOMPARE(loaded.tagTemplates, saved.tagTemplates);

    // Fewer templates than boxes: the others stay as they are.
    loaded = blankSetup();
    CommandFile::parse(u"Tag=" + sep + u"<T>x" + sep + u"$2" + sep).applyTo(&loaded);
    QCOMPARE(loaded.tagTemplates.at(0), QStringLiteral("<T>x"));
    QCOMPARE(loaded.tagTemplates.at(1), QStringLiteral("$2"));
    QCOMPARE(loaded.tagTemplates.at(2), QStringLiteral("<Artist>"));

    // More templates than boxes: the surplus is dropped.
    CommandSetup few;
    few.tagTemplates = QStringList{QStringLiteral("a"), QStringLiteral("b")};
    CommandFile::parse(u"Tag=" + sep + u"1" + sep + u"2" + sep + u"3" + sep).applyTo(&few);
    QCOMPARE(few.tagTemplates, QStringList({QStringLiteral("1"), QStringLiteral("2")}));
}

void TestCommandFile::tagWidths_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("width");
    QTest::newRow("negative") << "-5" << 1000;
    QTest::newRow("numeric start only") << "12px" << 1000;
    QTest::newRow("beyond 32 bits") << "1e12" << 1000;
}

void TestCommandFile::tagWidths()
{
    QFETCH(QString, item);
    QFETCH(int, width);
    CommandSetup setup = blankSetup();
    CommandFile::parse(u"TagWidth=" + sep + u"700" + sep + item + sep + u"900" + sep).applyTo(&setup);
    QCOMPARE(setup.tagColumnWidths.mid(0, 4), QList<int>({700, width, 900, 1000}));
}

void TestCommandFile::refusedFiles_data()
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
void TestCommandFile::refusedFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    const QString file = path(QString::fromLatin1(QTest::currentDataTag()) + u".dat");
    if (reason.isEmpty()) {
        QVERIFY(QDir(m_dir.path()).mkpath(file));
    } else {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    QString error;
    QVERIFY(CommandFileLoad(file, &error).isEmpty());
    QVERIFY(error.endsWith(QStringLiteral("\r\n\r\n") + file));
    if (!reason.isEmpty())
        QCOMPARE(error.section(QStringLiteral("\r\n"), 0, 0), reason);

    // A missing file reads as one without entries.
    QVERIFY(CommandFileLoad(path(QStringLiteral("none.dat")), &error).isEmpty());
    QCOMPARE(error, QString());
}

void TestCommandFile::oldCodePage932File()
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

QTEST_GUILESS_MAIN(TestCommandFile)
#include "tst_commandfile.moc"
