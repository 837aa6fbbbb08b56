#include "tags/clstag.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// Runs the built corvane program unattended on generated folders and checks
// names, contents and exit status.
class TestHeadless : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void exchangeAndCycle();
    void caseOnlyChange();
    void refusedPlansChangeNothing_data();
    void refusedPlansChangeNothing();
    void japaneseNamesBlanksAndQuotes();
    void nestedFolders_data();
    void nestedFolders();
    void targetAlreadyOnDisk();
    void commandFileQueue();
    void numberingFromCommandFile();
    void mp3JobFromCommandFile();
    void commandLineErrors();

private:
    int run(const QStringList &arguments);
    QString folder(const QString &name = QStringLiteral("files"));
    void makeFiles(const QStringList &names, const QString &where = {});
    QStringList namesIn(const QString &where = {}) const;
    QString contentOf(const QString &path) const;
    QString writeCommandFile(const QString &name, const QString &text);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_stderr;
};

void TestHeadless::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QDir(m_dir->path()).mkpath(QStringLiteral("files"));
    QDir(m_dir->path()).mkpath(QStringLiteral("home"));
}

int TestHeadless::run(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("CORVANE_SETTINGS_DIR"), m_dir->filePath(QStringLiteral("settings")));
    environment.insert(QStringLiteral("HOME"), m_dir->filePath(QStringLiteral("home")));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(CORVANE_BINARY), arguments);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000))
        return -100;
    m_stderr = QString::fromUtf8(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -101;
}

QString TestHeadless::folder(const QString &name)
{
    return m_dir->filePath(name);
}

void TestHeadless::makeFiles(const QStringList &names, const QString &where)
{
    const QDir base(where.isEmpty() ? folder() : where);
    for (const QString &name : names) {
        base.mkpath(QFileInfo(base.filePath(name)).path());
        QFile file(base.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(name.toUtf8());
    }
}

QStringList TestHeadless::namesIn(const QString &where) const
{
    QDir dir(where.isEmpty() ? m_dir->filePath(QStringLiteral("files")) : where);
    return dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

QString TestHeadless::contentOf(const QString &path) const
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString TestHeadless::writeCommandFile(const QString &name, const QString &text)
{
    const QString path = m_dir->filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text.toUtf8());
    return path;
}

void TestHeadless::exchangeAndCycle()
{
    makeFiles({"f1.txt", "f2.txt", "f3.txt"});
    // 1 and 3 trade names; 2 keeps its own.
    QCOMPARE(run({"-folder", folder(), "-search", "f(\\d)", "-pattern", "f<format(4-$1,\"0\")>", "-auto", "-quit",
                  "-no_confirm"}),
             0);
    QCOMPARE(contentOf(folder() + "/f1.txt"), QStringLiteral("f3.txt"));
    QCOMPARE(contentOf(folder() + "/f2.txt"), QStringLiteral("f2.txt"));
    QCOMPARE(contentOf(folder() + "/f3.txt"), QStringLiteral("f1.txt"));

    // A cycle: 1 → 2 → 3 → 1.
    QCOMPARE(run({"-folder", folder(), "-search", "f(\\d)", "-pattern", "f<format($1+1-3*($1==3),\"0\")>", "-auto",
                  "-quit", "-no_confirm"}),
             0);
    QCOMPARE(contentOf(folder() + "/f1.txt"), QStringLiteral("f1.txt"));
    QCOMPARE(contentOf(folder() + "/f2.txt"), QStringLiteral("f3.txt"));
    QCOMPARE(contentOf(folder() + "/f3.txt"), QStringLiteral("f2.txt"));
    QCOMPARE(namesIn().size(), 3);
}

void TestHeadless::caseOnlyChange()
{
    makeFiles({"Photo.JPG", "notes.txt"});
    QCOMPARE(run({"-folder", folder(), "-search", "\\.JPG$", "-pattern", ".jpg", "-auto", "-quit", "-no_confirm"}), 0);
    QCOMPARE(namesIn(), QStringList({"Photo.jpg", "notes.txt"}));
    QCOMPARE(contentOf(folder() + "/Photo.jpg"), QStringLiteral("Photo.JPG"));
}

void TestHeadless::refusedPlansChangeNothing_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("pattern");
    QTest::newRow("two rows, one target") << "\\d" << "";
    QTest::newRow("forbidden character") << "(\\d)" << "a:$1";
    QTest::newRow("dots only") << "^.*$" << "..";
    QTest::newRow("invalid pattern") << "(" << "x";
}

void TestHeadless::refusedPlansChangeNothing()
{
    QFETCH(QString, search);
    QFETCH(QString, pattern);
    makeFiles({"a1.txt", "a2.txt"});
    QCOMPARE(run({"-folder", folder(), "-search", search, "-pattern", pattern, "-auto", "-quit", "-no_confirm"}), 1);
    QCOMPARE(namesIn(), QStringList({"a1.txt", "a2.txt"}));
    QVERIFY(!m_stderr.isEmpty());
}

void TestHeadless::japaneseNamesBlanksAndQuotes()
{
    const QString spaced = folder("my photos");
    QDir().mkpath(spaced);
    makeFiles({"写真 1.jpg", "写真 2.jpg"}, spaced);
    QCOMPARE(run({"-folder", spaced, "-search", "写真 (\\d)", "-pattern", "'旅行' - $1", "-auto", "-quit",
                  "-no_confirm"}),
             0);
    QCOMPARE(namesIn(spaced), QStringList({"'旅行' - 1.jpg", "'旅行' - 2.jpg"}));
    QCOMPARE(contentOf(spaced + "/'旅行' - 2.jpg"), QStringLiteral("写真 2.jpg"));
}

void TestHeadless::nestedFolders_data()
{
    QTest::addColumn<bool>("onlyTop");
    QTest::newRow("recursive") << false;
    QTest::newRow("only top") << true;
}

void TestHeadless::nestedFolders()
{
    QFETCH(bool, onlyTop);
    makeFiles({"top 1.txt", "sub/inner 2.txt", "sub/deeper/deep 3.txt"});
    QStringList arguments = {"-folder", folder(), "-search", "(\\d)", "-pattern", "#$1", "-auto", "-quit",
                             "-no_confirm"};
    if (onlyTop)
        arguments << "-only_top";
    QCOMPARE(run(arguments), 0);
    QVERIFY(QFile::exists(folder() + "/top #1.txt"));
    QCOMPARE(QFile::exists(folder() + "/sub/inner #2.txt"), !onlyTop);
    QCOMPARE(QFile::exists(folder() + "/sub/deeper/deep #3.txt"), !onlyTop);
    QCOMPARE(QFile::exists(folder() + "/sub/inner 2.txt"), onlyTop);
}

void TestHeadless::targetAlreadyOnDisk()
{
    makeFiles({"a.txt"});
    // The target exists as a folder, which a file list does not show.
    QVERIFY(QDir(folder()).mkdir("b.txt"));
    QCOMPARE(run({"-folder", folder(), "-search", "a", "-pattern", "b", "-auto", "-quit", "-no_confirm"}), 1);
    QCOMPARE(contentOf(folder() + "/a.txt"), QStringLiteral("a.txt"));
    QVERIFY(QFileInfo(folder() + "/b.txt").isDir());
    QCOMPARE(namesIn(), QStringList({"a.txt", "b.txt"}));
}

void TestHeadless::commandFileQueue()
{
    makeFiles({"x1.txt", "x2.txt"});
    const QString nothing = writeCommandFile(
        "nothing.dat", "Com=ファイル名置換\r\nFolderPath=" + folder() + "\r\nSearch=zzz\r\nReplace=y\r\n");
    // One line, tab-separated, as an older tool might have written it.
    const QString rename = writeCommandFile(
        "rename.dat", "Com=ファイル名置換\tFolderPath=" + folder() + "\tSearch=x(\\d)\tReplace=y$1");
    QCOMPARE(run({"-com_file", nothing, "-com_file", rename, "-auto", "-quit", "-no_confirm"}), 0);
    QCOMPARE(namesIn(), QStringList({"y1.txt", "y2.txt"}));
}

void TestHeadless::numberingFromCommandFile()
{
    makeFiles({"a.jpg", "b.jpg", "c.png"});
    const QString numbering = writeCommandFile(
        "number.dat", "Com=連番作成\r\nFolderPath=" + folder()
                          + "\r\nBaseName=pic\r\nStNo=1\r\nCols=3\r\nAddTop=0\r\nSeparator=_\r\n");
    QCOMPARE(run({"-com_file", numbering, "-auto", "-quit", "-no_confirm"}), 0);
    QCOMPARE(namesIn(), QStringList({"pic_001.png", "pic_002.jpg", "pic_003.jpg"}));
}

namespace {

QByteArray syncSafe(int size)
{
    QByteArray bytes(4, 0);
    for (int at = 3; at >= 0; --at, size >>= 7)
        bytes[at] = char(size & 0x7F);
    return bytes;
}

QByteArray textFrame(const char *id, const QByteArray &text)
{
    const QByteArray body = '\0' + text;
    QByteArray frame(id, 4);
    const int size = body.size();
    frame += char(size >> 24) + QByteArray(1, char(size >> 16)) + char(size >> 8) + char(size);
    frame += QByteArray(2, 0) + body;
    return frame;
}

QByteArray id3v1(const QByteArray &title)
{
    QByteArray block("TAG");
    block += title.leftJustified(30, '\0', true);
    block += QByteArray(30, '\0') + QByteArray(30, '\0') + QByteArray("2001") + QByteArray(30, '\0');
    block += char(12);
    return block;
}

// An MP3 file with an ID3v2.3 tag (title "Old"), some audio bytes and an ID3v1 block.
QByteArray mp3File(QByteArray *audio)
{
    const QByteArray frames = textFrame("TIT2", "Old") + textFrame("TPE1", "Band");
    const QByteArray tagBody = frames + QByteArray(512, '\0');
    *audio = QByteArray(4096, '\x55');
    audio->replace(0, 4, QByteArray("\xFF\xFB\x90\x64", 4));
    return QByteArray("ID3\x03\x00\x00", 6) + syncSafe(tagBody.size()) + tagBody + *audio + id3v1("Old");
}

} // namespace

void TestHeadless::mp3JobFromCommandFile()
{
    QByteArray audio;
    const QByteArray content = mp3File(&audio);
    const QString song = folder() + "/01 Intro.mp3";
    QFile file(song);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    makeFiles({"cover.txt"});

    QString tags = QStringLiteral("\u0001<FileName>\u0001$2\u0001<Artist>\u0001<Album>\u0001<Genre>\u0001$1"
                                  "\u0001<Encode>\u0001<Year>\u0001<Comment>\u0001<Path>\u0001<並べ替え用>"
                                  "\u0001<ID3 Ver>\u0001<Save>\u0001");
    const QString job = writeCommandFile("tags.dat", "Com=ＭＰ３タグ編集\r\nFolderPath=" + folder()
                                                         + "\r\nSearch=^(\\d+) (.+)\\.mp3$\r\nTag=" + tags + "\r\n");
    // Unattended, the tag job asks nothing, even without -no_confirm.
    QCOMPARE(run({"-com_file", job, "-auto", "-quit"}), 0);

    clsTAG tag;
    tag.setFilePath(song);
    QCOMPARE(tag.ID3_DATA(QStringLiteral("title")), QStringLiteral("Intro"));
    QCOMPARE(tag.ID3_DATA(QStringLiteral("truckno")), QStringLiteral("01"));
    QCOMPARE(tag.ID3_DATA(QStringLiteral("artist")), QStringLiteral("Band"));
    QCOMPARE(tag.TAG1_DATA(QStringLiteral("title")), QStringLiteral("Intro"));
    QFile written(song);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(written.readAll().contains(audio));
    QCOMPARE(namesIn(), QStringList({"01 Intro.mp3", "cover.txt"}));
}

void TestHeadless::commandLineErrors()
{
    makeFiles({"a1.txt"});
    QCOMPARE(run({"-folder", folder(), "-search", "a", "-auto", "-quit"}), 2);
    QVERIFY(m_stderr.contains(QStringLiteral("search / pattern の片方が指定されていません")));
    QCOMPARE(namesIn(), QStringList({"a1.txt"}));
    QCOMPARE(run({"-com_file", folder("missing.dat"), "-auto", "-quit"}), 2);
    QVERIFY(m_stderr.contains(QStringLiteral("ファイルが見つかりません！")));
    // A folder that is not there fails the run rather than finding nothing to change.
    QCOMPARE(run({"-folder", folder("gone"), "-search", "a", "-pattern", "b", "-auto", "-quit"}), 1);
    // A misspelt job in a command file stops the run before anything changes.
    QFile dat(folder("bad.dat"));
    QVERIFY(dat.open(QIODevice::WriteOnly));
    dat.write(QStringLiteral("Com=MP3タグ編集\r\nFolderPath=%1\r\nSearch=a\r\nReplace=b\r\n").arg(folder()).toUtf8());
    dat.close();
    QCOMPARE(run({"-com_file", dat.fileName(), "-auto", "-quit", "-no_confirm"}), 1);
    QVERIFY(m_stderr.contains(QStringLiteral("Com=MP3タグ編集 という作業はありません")));
    QVERIFY(namesIn().contains(QStringLiteral("a1.txt")));
    // A time-stamp job nobody confirmed did not run.
    dat.open(QIODevice::WriteOnly | QIODevice::Truncate);
    dat.write(QStringLiteral("Com=更新日変更\r\nFolderPath=%1\r\nStep=1\r\n").arg(folder()).toUtf8());
    dat.close();
    QCOMPARE(run({"-com_file", dat.fileName(), "-auto", "-quit"}), 1);
    QVERIFY(m_stderr.contains(QStringLiteral("-no_confirm")));
    // Nothing to change is not a failure.
    QCOMPARE(run({"-folder", folder(), "-search", "zzz", "-pattern", "y", "-auto", "-quit"}), 0);
}

QTEST_GUILESS_MAIN(TestHeadless)
#include "tst_headless.moc"
