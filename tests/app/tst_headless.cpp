#include "exifjpeg.h"
#include "id3builder.h"
#include "tags/clstag.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <functional>
#include <unistd.h>

// Runs the built corvane program unattended on generated folders and checks
// names, contents and exit status.
class TestHeadless : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void replaceRuns_data();
    void replaceRuns();
    void commandFileQueue();
    void mp3JobFromCommandFile();
    void photosFromExif();
    void killedTagRewriteIsMended();
    void commandLineErrors();
    void plantedJournals();
    void windowFromItsModule();

private:
    QProcessEnvironment environment() const;
    int run(const QStringList &arguments);
    QString tagCommandFile(const QString &title);
    QString path(const QString &name) const { return m_dir->filePath(name); }
    // Each file holds its own first name; a name ending in '/' is a folder.
    void makeFiles(const QStringList &names);
    // Everything under the work folder, as "name=content" or "folder/", sorted.
    QStringList listing() const;
    QString commandFile(const QString &name, const QStringList &lines);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_files;
    QString m_stderr;
};

void TestHeadless::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    // A blank in the folder's name must reach the program whole.
    m_files = path("my files");
    QVERIFY(QDir().mkpath(m_files) && QDir().mkpath(path("home")));
}

QProcessEnvironment TestHeadless::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("CORVANE_SETTINGS_DIR", path("settings"));
    environment.insert("HOME", path("home"));
    environment.insert("TZ", "JST-9");
    for (const QString &name : QStringList{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    return environment;
}

int TestHeadless::run(const QStringList &arguments)
{
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(CORVANE_BINARY, arguments);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000))
        return -100;
    m_stderr = QString::fromUtf8(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -101;
}

void TestHeadless::makeFiles(const QStringList &names)
{
    const QDir base(m_files);
    for (const QString &name : names) {
        QVERIFY(base.mkpath(name.endsWith(u'/') ? name : QFileInfo(name).path()));
        if (!name.endsWith(u'/'))
            QVERIFY(Id3::write(base.filePath(name), name.toUtf8()));
    }
}

QStringList TestHeadless::listing() const
{
    QStringList entries;
    const QDir base(m_files);
    QDirIterator it(m_files, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        const QString name = base.relativeFilePath(info.filePath());
        entries << (info.isDir() ? QString(name + u'/') : name + u'=' + QString::fromUtf8(Id3::read(info.filePath())));
    }
    entries.sort();
    return entries;
}

QString TestHeadless::commandFile(const QString &name, const QStringList &lines)
{
    Id3::write(path(name), lines.join("\r\n").toUtf8());
    return path(name);
}

void TestHeadless::replaceRuns_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("switches");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("after");

    const QStringList three{"f1.txt", "f2.txt", "f3.txt"};
    const QStringList pair{"a1.txt", "a2.txt"};
    const QStringList nested{"top 1.txt", "sub/inner 2.txt", "sub/deeper/deep 3.txt"};
    // 1 and 3 trade names; 2 keeps its own.
    QTest::newRow("exchange") << three << QStringList{"-search", "f(\\d)", "-pattern", "f<format(4-$1,\"0\")>"} << 0
                              << QStringList{"f1.txt=f3.txt", "f2.txt=f2.txt", "f3.txt=f1.txt"};
    QTest::newRow("cycle") << three << QStringList{"-search", "f(\\d)", "-pattern", "f<format($1+1-3*($1==3),\"0\")>"}
                           << 0 << QStringList{"f1.txt=f3.txt", "f2.txt=f1.txt", "f3.txt=f2.txt"};
    QTest::newRow("case only") << QStringList{"Photo.JPG", "notes.txt"}
                               << QStringList{"-search", "\\.JPG$", "-pattern", ".jpg"} << 0
                               << QStringList{"Photo.jpg=Photo.JPG", "notes.txt=notes.txt"};
    QTest::newRow("japanese, blanks and quotes")
        << QStringList{"写真 1.jpg", "写真 2.jpg"} << QStringList{"-search", "写真 (\\d)", "-pattern", "'旅行' - $1"} << 0
        << QStringList{"'旅行' - 1.jpg=写真 1.jpg", "'旅行' - 2.jpg=写真 2.jpg"};
    QTest::newRow("nested folders") << nested << QStringList{"-search", "(\\d)", "-pattern", "#$1"} << 0
                                    << QStringList{"sub/", "sub/deeper/", "sub/deeper/deep #3.txt=sub/deeper/deep 3.txt",
                                                   "sub/inner #2.txt=sub/inner 2.txt", "top #1.txt=top 1.txt"};
    QTest::newRow("only top") << nested << QStringList{"-search", "(\\d)", "-pattern", "#$1", "-only_top"} << 0
                              << QStringList{"sub/", "sub/deeper/", "sub/deeper/deep 3.txt=sub/deeper/deep 3.txt",
                                             "sub/inner 2.txt=sub/inner 2.txt", "top #1.txt=top 1.txt"};
    // A name with a line break that the search does not touch blocks nothing.
    QTest::newRow("line break elsewhere") << QStringList{"nl\n1.txt", "k1.txt"} << QStringList{"-search", "^k", "-pattern", "m"}
                                          << 0 << QStringList{"m1.txt=k1.txt", "nl\n1.txt=nl\n1.txt"};
    // The target exists as a folder, which a file list does not show.
    QTest::newRow("target on disk") << QStringList{"a.txt", "b.txt/"} << QStringList{"-search", "a", "-pattern", "b"}
                                    << 1 << QStringList{"a.txt=a.txt", "b.txt/"};
    // A plan the checks refuse, and an engine that fails: each kind of fault is
    // a table of its own in the planner's tests.
    const QStringList untouched{"a1.txt=a1.txt", "a2.txt=a2.txt"};
    QTest::newRow("refused plan") << pair << QStringList{"-search", "(\\d)", "-pattern", "a:$1"} << 1 << untouched;
    QTest::newRow("invalid pattern") << pair << QStringList{"-search", "(", "-pattern", "x"} << 1 << untouched;
}

void TestHeadless::replaceRuns()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, switches);
    QFETCH(int, status);
    makeFiles(files);
    QCOMPARE(run(QStringList{"-folder", m_files} + switches + QStringList{"-auto", "-quit", "-no_confirm"}), status);
    QTEST(listing(), "after");
    // A failed run says why.
    QVERIFY(status == 0 || !m_stderr.isEmpty());
}

void TestHeadless::commandFileQueue()
{
    makeFiles({"x1.txt", "x2.txt", "c.png"});
    const QString folder = "FolderPath=" + m_files;
    const QString nothing = commandFile("nothing.dat", {"Com=ファイル名置換", folder, "Search=zzz", "Replace=y"});
    // One line, tab-separated, as an older tool might have written it.
    const QString rename = commandFile("rename.dat", {"Com=ファイル名置換\t" + folder + "\tSearch=x(\\d)\tReplace=y$1"});
    const QString numbering = commandFile(
        "number.dat", {"Com=連番作成", folder, "BaseName=pic", "StNo=1", "Cols=3", "AddTop=0", "Separator=_", ""});
    QCOMPARE(run({"-com_file", nothing, "-com_file", rename, "-com_file", numbering, "-auto", "-quit", "-no_confirm"}),
             0);
    QCOMPARE(listing(), (QStringList{"pic_001.txt=x2.txt", "pic_002.txt=x1.txt", "pic_003.png=c.png"}));
    // Each plan and each run says what it did, with counts.
    for (const QString &counts : QStringList{"試行結果：変更 0 件、変更不可 0 件（全 3 件）", "名前を変更した項目：2 件（全 3 件中）",
                                             "名前を変更した項目：3 件（全 3 件中）"})
        QVERIFY2(m_stderr.contains(counts), qPrintable(m_stderr));

    // A set-up saved before any folder was read runs on the folder -folder
    // gives, in quotes as a launcher may add them.
    const QString blank = commandFile("blank.dat", {"Com=ファイル名置換", "FolderPath=", "Search=pic_", "Replace=p", ""});
    QCOMPARE(run({"-folder", '"' + m_files + '"', "-com_file", blank, "-auto", "-quit", "-no_confirm"}), 0);
    QCOMPARE(listing(), (QStringList{"p001.txt=x2.txt", "p002.txt=x1.txt", "p003.png=c.png"}));
}

void TestHeadless::mp3JobFromCommandFile()
{
    const QByteArray audio = QByteArray("\xFF\xFB\x90\x64", 4) + QByteArray(4092, '\x55');
    const QString song = m_files + "/01 Intro.mp3";
    QVERIFY(Id3::write(song, Id3::tag(Id3::textFrame("TIT2", "Old") + Id3::textFrame("TPE1", "Band"), 512) + audio
                                 + Id3::v1("Old", {}, {}, "2001", {}, 12)));
    makeFiles({"cover.txt"});
    const QString job = tagCommandFile("$2");
    // Unattended, the tag job asks nothing, even without -no_confirm.
    QCOMPARE(run({"-com_file", job, "-auto", "-quit"}), 0);
    QCOMPARE(m_stderr.count(u"リスト作成中"), 1); // the folder is read once
    QCOMPARE(run({"-folder", m_files, "-com_file", job, "-auto", "-quit"}), 0);
    QCOMPARE(m_stderr.count(u"リスト作成中"), 1); // also when -folder names it too

    clsTAG tag;
    tag.setFilePath(song);
    QCOMPARE(tag.ID3_DATA("title"), "Intro");
    QCOMPARE(tag.ID3_DATA("truckno"), "01");
    QCOMPARE(tag.ID3_DATA("artist"), "Band");
    QCOMPARE(tag.TAG1_DATA("title"), "Intro");
    QVERIFY(Id3::read(song).contains(audio));
    QCOMPARE(QDir(m_files).entryList(QDir::Files), (QStringList{"01 Intro.mp3", "cover.txt"}));
}

// Photos named after the moment they were taken, their extensions made lower
// case, and their time-stamps put back from EXIF; a photo without EXIF is named.
void TestHeadless::photosFromExif()
{
    QVERIFY((ExifJpeg{"Canon", "EOS", {}, "2024:08:15 10:30:00"}.write(m_files + "/IMG_1.JPG")));
    QVERIFY(ExifJpeg{}.write(m_files + "/IMG_2.JPG"));
    QCOMPARE(run({"-folder", m_files, "-search", "^IMG_(\\d)", "-pattern", "format(<ExifDateTime>,\"yyyymmdd\")_$1",
                  "-auto", "-quit", "-no_confirm"}),
             0);
    const QString folder = "FolderPath=" + m_files;
    const QString lower = commandFile(
        "lower.dat", {"Com=ファイル名置換", folder, "Search=^(.+)$", "Replace=StrConv($1,2)", "ReplaceScope=2"});
    const QString stamps = commandFile("stamps.dat", {"Com=更新日変更", folder, "UseExifTime=1"});
    QCOMPARE(run({"-com_file", lower, "-com_file", stamps, "-auto", "-quit", "-no_confirm"}), 0);
    QCOMPARE(QDir(m_files).entryList(QDir::Files), (QStringList{"20240815_1.jpg", "_2.jpg"}));
    QCOMPARE(QFileInfo(m_files + "/20240815_1.jpg").lastModified().toUTC(), QDateTime(QDate(2024, 8, 15), QTime(1, 30), Qt::UTC));
    QVERIFY2(m_stderr.contains("：1 件（_2.jpg）"), qPrintable(m_stderr));
}

// Title from the file name, track number from its leading digits.
QString TestHeadless::tagCommandFile(const QString &title)
{
    const QString tags = "\u0001<FileName>\u0001" + title
                         + "\u0001<Artist>\u0001<Album>\u0001<Genre>\u0001$1\u0001<Encode>"
                           "\u0001<Year>\u0001<Comment>\u0001<Path>\u0001<並べ替え用>\u0001<ID3 Ver>\u0001<Save>\u0001";
    return commandFile("tags.dat",
                       {"Com=ＭＰ３タグ編集", "FolderPath=" + m_files, "Search=^(\\d+) (.+)\\.mp3$", "Tag=" + tags, ""});
}

// A hard-linked file whose audio moves back, killed at each step of its
// rewrite: the next start leaves it whole, as it was or as planned, says so,
// and leaves no copy behind.
void TestHeadless::killedTagRewriteIsMended()
{
    const QString song = m_files + "/01 Song.mp3";
    const QByteArray audio = Id3::audio(64 << 20, 7);
    const QByteArray before = Id3::tag(Id3::textFrame("TIT2", "Old"), 16) + audio + Id3::v1("Old");
    const QString job = tagCommandFile("$2 " + QString(300, u'x'));
    const auto copies = [this] { return QDir(m_files).entryList({"*.corvane-*"}, QDir::Files | QDir::Hidden); };
    const auto head = [&] {
        QFile file(song);
        return file.open(QIODevice::ReadOnly) ? file.read(10) : QByteArray();
    };
    // While the copy is made, while the file grows, while it takes the copy in.
    const std::function<bool()> moments[] = {[&] { return !copies().isEmpty(); },
                                             [&] { return QFileInfo(song).size() > before.size(); },
                                             [&] { return head() != before.left(10); }};
    for (const auto &moment : moments) {
        QFile::remove(path("link.mp3"));
        QVERIFY(Id3::write(song, before));
        QCOMPARE(::link(QFile::encodeName(song).constData(), QFile::encodeName(path("link.mp3")).constData()), 0);
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(CORVANE_BINARY, {"-com_file", job, "-auto", "-quit"});
        QVERIFY(process.waitForStarted());
        while (process.state() != QProcess::NotRunning && !moment())
            QThread::usleep(200);
        QCOMPARE(process.state(), QProcess::Running); // the kill lands inside the rewrite
        ::kill(pid_t(process.processId()), SIGKILL);
        process.waitForFinished();
        const bool copyLeft = !copies().isEmpty();

        QCOMPARE(run({"-folder", path("home"), "-search", "a", "-pattern", "b", "-auto", "-quit"}), 0);
        QVERIFY(copies().isEmpty());
        QCOMPARE(m_stderr.contains(song), copyLeft);
        clsTAG tag;
        QVERIFY(tag.setFilePath(song));
        QVERIFY(tag.ID3_DATA("title") == "Old" || tag.ID3_DATA("title") == "Song " + QString(300, u'x'));
        const QByteArray bytes = Id3::read(song);
        QCOMPARE(bytes.mid(tag.ID3Size() + 10).chopped(128), audio);
        QVERIFY(bytes.right(128).startsWith("TAG"));
    }
}

void TestHeadless::commandLineErrors()
{
    makeFiles({"a1.txt"});
    const QStringList untouched{"a1.txt=a1.txt"};
    QCOMPARE(run({"-folder", m_files, "-search", "a", "-auto", "-quit"}), 2);
    QVERIFY(m_stderr.contains("search / pattern の片方が指定されていません"));
    QCOMPARE(listing(), untouched);
    QCOMPARE(run({"-com_file", path("missing.dat"), "-auto", "-quit"}), 2);
    QVERIFY(m_stderr.contains("ファイルが見つかりません！"));
    // A folder that is not there fails the run rather than finding nothing to change.
    QCOMPARE(run({"-folder", path("gone"), "-search", "a", "-pattern", "b", "-auto", "-quit"}), 1);
    // A misspelt job in a command file stops the run before anything changes.
    const QString folder = "FolderPath=" + m_files;
    const QString misspelt = commandFile("bad.dat", {"Com=MP3タグ編集", folder, "Search=a", "Replace=b", ""});
    QCOMPARE(run({"-com_file", misspelt, "-auto", "-quit", "-no_confirm"}), 1);
    QVERIFY(m_stderr.contains("Com=MP3タグ編集 という作業はありません"));
    QCOMPARE(listing(), untouched);
    // A time-stamp job nobody confirmed did not run.
    const QString stamps = commandFile("stamp.dat", {"Com=更新日変更", folder, "Step=1", ""});
    QCOMPARE(run({"-com_file", stamps, "-auto", "-quit"}), 1);
    QVERIFY(m_stderr.contains("-no_confirm"));
    // Nothing to change is not a failure.
    QCOMPARE(run({"-folder", m_files, "-search", "zzz", "-pattern", "y", "-auto", "-quit"}), 0);
}

// A journal planted as a link, or naming items outside its folder, is refused
// with its name: nothing is followed, truncated or moved, and the run fails.
void TestHeadless::plantedJournals()
{
    makeFiles({"a1.txt"});
    const QStringList untouched{"a1.txt=a1.txt"};
    QVERIFY(Id3::write(path("victim"), "precious") && QDir().mkpath(path("settings")));
    const QString journal = path("settings/Journal.dat");
    QVERIFY(QFile::link(path("victim"), journal));
    for (const QStringList &arguments : {QStringList{"-folder", m_files, "-search", "1", "-pattern", "2", "-auto", "-quit"},
                                         QStringList{"-undo"}}) {
        QCOMPARE(run(arguments), 1);
        QVERIFY2(m_stderr.contains(journal), qPrintable(m_stderr));
        QCOMPARE(Id3::read(path("victim")), "precious");
        QCOMPARE(listing(), untouched);
    }

    QVERIFY(QFile::remove(journal));
    const QString from = path("victim");
    QVERIFY(Id3::write(journal, "CORVANE JOURNAL 1\nexecute\nF" + m_files.toUtf8() + QByteArray("\0Ia1.txt\0-tmp00001_a\0-", 24)
                                    + from.toUtf8() + QByteArray("\0B\0P\0", 6)));
    QVERIFY(QFile::setPermissions(journal, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QCOMPARE(run({"-undo"}), 1);
    QVERIFY(m_stderr.contains("記録ファイルを使えません") && m_stderr.contains(journal));
    QCOMPARE(Id3::read(path("victim")), "precious");
    QCOMPARE(listing(), untouched);
}


// A run with a window loads the window from its module, and only one nobody
// else can have planted or changed; a run without a window never needs it.
void TestHeadless::windowFromItsModule()
{
    QCOMPARE(run({"-folder", m_files}), 2);
    QVERIFY(m_stderr.contains("no display found"));

    // A copy of the program in a folder of its own, its module beside it.
    QVERIFY(QDir().mkpath(path("portable")));
    const QString program = path("portable/corvane");
    const QString module = path("portable/corvane-window.so");
    QVERIFY(QFile::copy(CORVANE_BINARY, program) && QFile::copy(CORVANE_WINDOW_MODULE_FILE, module));
    QProcess process;
    QProcessEnvironment withScreen = environment();
    withScreen.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(withScreen);
    QFile(module).setPermissions(QFile(module).permissions() | QFileDevice::WriteOther);
    process.start(program, {"-folder", m_files});
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitCode(), 1);
    QVERIFY(QString::fromUtf8(process.readAllStandardError()).contains("他のユーザーも書き込めます"));

    QFile(module).setPermissions(QFile(module).permissions() & ~QFileDevice::WriteOther);
    process.start(program, {"-folder", m_files});
    QVERIFY(process.waitForStarted());
    QFile maps(QString("/proc/%1/maps").arg(process.processId()));
    bool loaded = false;
    for (int waited = 0; !loaded && waited < 200 && process.state() == QProcess::Running; ++waited) {
        QThread::msleep(50);
        loaded = maps.open(QIODevice::ReadOnly) && maps.readAll().contains(module.toUtf8());
        maps.close();
    }
    QVERIFY(loaded);
    // Still running: the module's window is up and waiting for the user.
    QVERIFY(!process.waitForFinished(300));
    process.kill();
    process.waitForFinished();
}

QTEST_GUILESS_MAIN(TestHeadless)
#include "tst_headless.moc"
