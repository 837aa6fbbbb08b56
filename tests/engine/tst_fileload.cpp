#include "engine/load/filelist.h"
#include "engine/load/fileload.h"
#include "engine/load/listdrop.h"
#include "engine/load/loaderstate.h"

#include "enginefixture.h"
#include "platform/displaytext.h"

#include <QDir>
#include <QTest>

#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The MP3 list as the tag reader would keep it: paths only.
class PathSink : public TagRowSink
{
public:
    QStringList rows;
    void clear() override { rows.clear(); }
    void add(const QStringList &paths, int position, const std::function<void(int)> &) override
    {
        for (qsizetype i = 0; i < paths.size(); ++i)
            rows.insert(std::min<qsizetype>(position - 1 + i, rows.size()), paths.at(i));
    }
    int count() const override { return static_cast<int>(rows.size()); }
    QStringList paths() const override { return rows; }
};

} // namespace

class TestFileLoad : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void folderReadOrder()
    {
        EngineFixture f;
        QDir root(f.dir.path());
        QVERIFY(root.mkpath(u"sub2"_qs) && root.mkpath(u"Sub1/deep"_qs));
        for (const QString &name : {u"c"_qs, u"B"_qs, u"a"_qs, u"A"_qs, u"sub2/z"_qs, u"Sub1/y"_qs, u"Sub1/deep/w"_qs})
            f.write(name, "x");

        LoaderState state;
        QVERIFY(!LoadFromFolder(f.context, state, u" \"%1\" "_qs.arg(f.dir.path()), false));
        // Collected: Sub1/deep/w, Sub1/y, sub2/z, A, a, B, c; every row went in at the top.
        QCOMPARE(f.column(RenameField::Path),
                 (QStringList{f.path(u"c"_qs), f.path(u"B"_qs), f.path(u"a"_qs), f.path(u"A"_qs), f.path(u"sub2/z"_qs),
                              f.path(u"Sub1/y"_qs), f.path(u"Sub1/deep/w"_qs)}));
        QVERIFY(f.user.errorLists.isEmpty() && !f.user.progressVisible);

        QVERIFY(!LoadFromFolder(f.context, state, f.dir.path(), true));
        QCOMPARE(f.column(RenameField::CurrentName), (QStringList{u"c"_qs, u"B"_qs, u"a"_qs, u"A"_qs}));

        // Names that share long beginnings are told apart wherever they first differ.
        EngineFixture g;
        for (const QString &name : {u"photo_b10"_qs, u"Photo_a2"_qs, u"photo_a10"_qs, u"photo_A1"_qs, u"phot"_qs,
                                    u"photo_a1"_qs, u"photo_a10x"_qs})
            g.write(name, "x");
        QVERIFY(!LoadFromFolder(g.context, state, g.dir.path(), true));
        QCOMPARE(g.column(RenameField::CurrentName).join(u' '),
                 u"photo_b10 Photo_a2 photo_a10x photo_a10 photo_a1 photo_A1 phot"_qs);
    }

    // Rows read their dates in bulk, at the load for a time-stamp job and later
    // for the others; they must read exactly as DateText shows them, on either
    // side of a change of summer time.
    void datesAsDateTextShowsThem()
    {
        const bool hadZone = qEnvironmentVariableIsSet("TZ");
        const QByteArray zone = qgetenv("TZ");
        qputenv("TZ", "Europe/Berlin");
        ::tzset();
        EngineFixture f;
        const QList<qint64> moments{0, 1000000000, 1711846799, 1711846800, 1729990800, 1729994400, 4102444800};
        for (qint64 moment : moments) {
            f.write(QString::number(moment), "");
            QVERIFY(f.files.setModifiedTime(f.path(QString::number(moment)), QDateTime::fromSecsSinceEpoch(moment, Qt::UTC)).ok());
        }
        LoaderState state;
        for (const JobKind job : {JobKind::ModifiedDate, JobKind::FileNameReplace}) {
            f.context.job = job;
            QVERIFY(!LoadFromFolder(f.context, state, f.dir.path(), false));
            QCOMPARE(f.rows.row(1).factsPending(), job == JobKind::FileNameReplace);
            ReadPendingFacts(f.context);
            QCOMPARE(f.rows.count(), moments.size());
            for (const RenameRow &row : f.rows.rows()) {
                const QDateTime moment = QDateTime::fromSecsSinceEpoch(row[RenameField::CurrentName].toLongLong(), Qt::UTC);
                QCOMPARE(row[RenameField::Modified], DateText(moment));
            }
            QCOMPARE(f.rows.row(f.rows.count())[RenameField::Modified], u"1970/01/01 01:00:00"_qs);
        }
        hadZone ? qputenv("TZ", zone) : qunsetenv("TZ");
        ::tzset();
    }

    void namesThatAreNotUtf8AreReportedAndLeftOut()
    {
        EngineFixture f;
        f.write(u"good"_qs, "x");
        const int fd = ::open(QByteArray(QFile::encodeName(f.dir.path()) + "/bad\xff\xfe.txt").constData(), O_CREAT | O_WRONLY, 0644);
        QVERIFY(fd >= 0);
        ::close(fd);

        LoaderState state;
        QVERIFY(LoadFromFolder(f.context, state, f.dir.path(), false));
        QCOMPARE(f.column(RenameField::CurrentName), QStringList{u"good"_qs});
        QCOMPARE(f.user.errorLists.size(), 1);
        QCOMPARE(f.user.errorLists[0].first, u"ファイル名読み込みエラー　－　LoadFromFolder"_qs);
        QCOMPARE(f.user.errorLists[0].second,
                 u"フォルダファイル追加失敗！　UNICODE ?\r\n\r\n"_qs + f.path(u"bad\uFFFD\uFFFD.txt\r\n"_qs));
    }

    void linksAreItemsAndNeverFollowed()
    {
        EngineFixture f;
        QVERIFY(QDir(f.dir.path()).mkdir(u"sub"_qs));
        f.write(u"sub/file"_qs, "x");
        QVERIFY(QFile::link(f.dir.path(), f.path(u"sub/loop"_qs)));
        QVERIFY(QFile::link(u"/nonexistent target"_qs, f.path(u"dangling"_qs)));
        QVERIFY(::mkfifo(QFile::encodeName(f.path(u"pipe"_qs)).constData(), 0644) == 0);

        LoaderState state;
        QVERIFY(!LoadFromFolder(f.context, state, f.dir.path(), false));
        QCOMPARE(f.column(RenameField::Path),
                 (QStringList{f.path(u"dangling"_qs), f.path(u"sub/loop"_qs), f.path(u"sub/file"_qs)}));
    }

    void folderJobListsImmediateSubfolders()
    {
        EngineFixture f;
        f.context.job = JobKind::FolderRename;
        QVERIFY(QDir(f.dir.path()).mkpath(u"one/inner"_qs) && QDir(f.dir.path()).mkdir(u"two"_qs));
        f.write(u"one/inner/data"_qs, "12345");
        f.write(u"loose"_qs, "x");
        // Files the folder job never lists cannot fail its load, whatever their names.
        for (const char *bad : {"/bad\xff.txt", "/one/bad\xfe.txt"})
            ::close(::open(QByteArray(QFile::encodeName(f.dir.path()) + bad).constData(), O_CREAT | O_WRONLY, 0644));
        LoaderState state;
        QVERIFY(!LoadFromFolder(f.context, state, f.dir.path(), false));
        QVERIFY(f.user.errorLists.isEmpty());
        QCOMPARE(f.column(RenameField::CurrentName), (QStringList{u"two"_qs, u"one"_qs}));
        QCOMPARE(f.rows.row(2)[RenameField::Size], u"5"_qs);
        QCOMPARE(f.rows.row(2)[RenameField::Folder], f.dir.path());

        // A dropped folder is added itself, once however often it was dropped.
        f.rows.clear();
        const QString inner = f.path(u"one/inner"_qs);
        ListV_OLEDragDrop(f.context, state, DropData{false, {inner, f.path(u"loose"_qs), inner}}, 0);
        QCOMPARE(f.column(RenameField::Path), QStringList{inner});
    }

    void dropAddsOnlyNewPaths()
    {
        EngineFixture f;
        QVERIFY(QDir(f.dir.path()).mkdir(u"in"_qs));
        for (int i = 0; i < 100; ++i)
            f.write(u"in/"_qs + QString::number(i).rightJustified(3, u'0'), "");
        f.rows.append(listedRow(u"first"_qs));
        f.rows.append(listedRow(u"second"_qs));
        f.rows.setSelected(1, true);
        LoaderState state;

        ListV_OLEDragDrop(f.context, state, DropData{false, {f.path(u"in"_qs)}}, 2);
        QCOMPARE(f.rows.row(2)[RenameField::NewName], u"000"_qs);
        QCOMPARE(f.rows.row(102)[RenameField::NewName], u"second"_qs);
        QCOMPARE(f.selectedRows().size(), 100);
        QVERIFY(!f.rows.isSelected(1));
        QCOMPARE(state.countText, u"102"_qs);
        // Again: nothing new, nothing selected.
        ListV_OLEDragDrop(f.context, state, DropData{false, {f.path(u"in"_qs)}}, 0);
        QVERIFY(f.rows.count() == 102 && f.selectedRows().isEmpty());

        // The same path in other letters is another file here.
        f.write(u"IN_upper"_qs, "");
        f.rows.append(listedRow(u"x"_qs));
        f.rows.editRow(f.rows.count()).set(RenameField::Path, f.path(u"in_upper"_qs));
        ListV_OLEDragDrop(f.context, state, DropData{false, {f.path(u"IN_upper"_qs)}}, 0);
        QCOMPARE(f.rows.row(f.rows.count())[RenameField::Path], f.path(u"IN_upper"_qs));
    }

    // A folder that is not there empties the list; a dropped path that cannot be
    // read cancels the paths after it.
    void unreadablePathsAreReported()
    {
        EngineFixture f;
        f.rows.append(listedRow(u"old"_qs));
        LoaderState state;
        QVERIFY(LoadFromFolder(f.context, state, f.path(u"missing"_qs), false));
        QVERIFY(f.rows.isEmpty());
        QCOMPARE(f.user.errorLists.size(), 1);
        QCOMPARE(f.user.errorLists[0].second, u"有効なパスではありません\r\n\r\n"_qs + f.path(u"missing"_qs));

        f.write(u"later"_qs, "");
        ListV_OLEDragDrop(f.context, state, DropData{false, {f.path(u"vanished"_qs), f.path(u"later"_qs)}}, 0);
        QVERIFY(f.rows.isEmpty());
        QCOMPARE(f.user.errorLists.size(), 2);
        QCOMPARE(f.user.errorLists[1].first, u"ファイル追加失敗！　－　FileList_Sub"_qs);
        QCOMPARE(f.user.errorLists[1].second, f.path(u"vanished\r\n"_qs));

        // An item gone between the listing and its reading is reported; the
        // others keep their order. A load that reads no dates finds it gone
        // when they are read.
        for (const QString &name : {u"a"_qs, u"b"_qs, u"c"_qs})
            f.write(name, "");
        f.files.vanishing = {f.path(u"a"_qs), f.path(u"b"_qs)};
        f.context.job = JobKind::CreatedDate;
        QVERIFY(LoadFromFolder(f.context, state, f.dir.path(), true));
        QCOMPARE(f.column(RenameField::CurrentName), (QStringList{u"later"_qs, u"c"_qs}));
        const QString gone = f.path(u"a"_qs) + u"\r\n"_qs + f.path(u"b"_qs) + u"\r\n"_qs;
        QVERIFY(f.user.errorLists[2].second.endsWith(gone));
        for (const QString &name : {u"a"_qs, u"b"_qs})
            f.write(name, "");
        f.context.job = JobKind::FileNameReplace;
        QVERIFY(!LoadFromFolder(f.context, state, f.dir.path(), true));
        QCOMPARE(f.rows.count(), 4);
        ReadPendingFacts(f.context);
        QVERIFY(f.user.errorLists[3].second.endsWith(f.path(u"b"_qs) + u"\r\n"_qs + f.path(u"a"_qs) + u"\r\n"_qs));
    }

    void rowMove_data()
    {
        QTest::addColumn<QList<int>>("moving");
        QTest::addColumn<int>("dropRow");
        QTest::addColumn<QString>("order");

        QTest::newRow("onto row 5") << QList<int>{2, 3} << 5 << u"1 4 2 3 5"_qs;
        QTest::newRow("to the top") << QList<int>{4} << 1 << u"4 1 2 3 5"_qs;
        QTest::newRow("onto itself") << QList<int>{2, 3} << 3 << u"1 2 3 4 5"_qs;
        QTest::newRow("spread out") << QList<int>{1, 5} << 3 << u"2 1 5 3 4"_qs;
    }

    void rowMove()
    {
        QFETCH(QList<int>, moving);
        QFETCH(int, dropRow);
        QFETCH(QString, order);
        EngineFixture f;
        for (int i = 1; i <= 5; ++i)
            f.rows.append(listedRow(QString::number(i)));
        for (int index : moving)
            f.rows.setSelected(index, true);
        LoaderState state;
        StartRowMove(f.context, state);
        f.rows.clearSelection();
        f.rows.setSelected(1, true);

        ListV_OLEDragDrop(f.context, state, DropData{true, {}}, dropRow);
        const QStringList names = f.column(RenameField::NewName);
        QCOMPARE(names.join(u' '), order);
        QList<int> selected;
        for (int index : f.selectedRows())
            selected << names[index - 1].toInt();
        QCOMPARE(selected, moving);
        QVERIFY(state.moveRows.empty());
    }

    void absolutePath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("result");

        QTest::newRow("quoted") << u" \"/home/u/x\" "_qs << u"/base"_qs << u"/home/u/x"_qs;
        QTest::newRow("relative") << u"photos"_qs << u"/base"_qs << u"/base/photos"_qs;
        QTest::newRow("parent") << u"../photos"_qs << u"/base/sub"_qs << u"/base/photos"_qs;
        QTest::newRow("absolute with parent") << u"/a/b/../c"_qs << u"/base"_qs << u"/a/c"_qs;
    }

    void absolutePath()
    {
        QFETCH(QString, path);
        QFETCH(QString, base);
        QTEST(AbsolutePath(path, base), "result");
    }

    void mp3ListTakesOnlyNewMp3Files()
    {
        EngineFixture f;
        f.context.job = JobKind::Mp3TagEdit;
        for (const QString &name : {u"a.mp3"_qs, u"b.MP3"_qs, u"c.txt"_qs, u"d.mp3"_qs})
            f.write(name, "");
        PathSink sink;
        sink.rows = {u"/first.mp3"_qs, f.path(u"d.mp3"_qs), u"/last.mp3"_qs};
        LoaderState state;
        state.tagRows = &sink;

        ListV_MP3_OLEDragDrop(f.context, state, {f.dir.path()}, 2);
        QCOMPARE(sink.rows, (QStringList{u"/first.mp3"_qs, f.path(u"a.mp3"_qs), f.path(u"b.MP3"_qs), f.path(u"d.mp3"_qs),
                                         u"/last.mp3"_qs}));

        // A folder read in the MP3 job fills the MP3 list, last collected first.
        QVERIFY(!LoadFromFolder(f.context, state, f.dir.path(), false));
        QCOMPARE(sink.rows, (QStringList{f.path(u"d.mp3"_qs), f.path(u"b.MP3"_qs), f.path(u"a.mp3"_qs)}));
        QVERIFY(f.rows.isEmpty());

        EngineFixture g;
        g.context.job = JobKind::Mp3TagEdit;
        g.write(u"song.wav"_qs, "");
        QVERIFY(!LoadFromFolder(g.context, state, g.dir.path(), false));
        QCOMPARE(g.user.lastPrompt(), u"ＭＰ３ファイルはありません！"_qs);
        QCOMPARE(g.user.messages.last().title, u"ファイル無し"_qs);
    }
};

QTEST_GUILESS_MAIN(TestFileLoad)
#include "tst_fileload.moc"
