#include "id3builder.h"
#include "platform/codepage.h"
#include "platform/filewriter.h"
#include "scripteduserchannel.h"
#include "tags/clstag.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

// Fails the n-th write or reservation, as a disk that fills up right there would.
class FullDisk : public FileWriter
{
public:
    explicit FullDisk(int failAt = 0) : m_failAt(failAt) {}
    int writes = 0;

    bool writeAt(int fd, qint64 offset, const QByteArray &bytes) override
    {
        return room() && FileWriter::writeAt(fd, offset, bytes);
    }
    bool reserve(int fd, qint64 offset, qint64 length) override
    {
        return room() && FileWriter::reserve(fd, offset, length);
    }

private:
    bool room()
    {
        if (++writes != m_failAt)
            return true;
        errno = ENOSPC;
        return false;
    }
    int m_failAt;
};

} // namespace

class TestClsTag : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;
    ScriptedUserChannel m_user;

    QString put(const QByteArray &bytes)
    {
        m_path = m_dir.filePath(QStringLiteral("song.mp3"));
        QFile::remove(m_path);
        if (!Id3::write(m_path, bytes))
            qFatal("cannot write test file");
        return m_path;
    }

private Q_SLOTS:
    void init() { m_user.clear(); }

    void id3v1Fields_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<QString>("readBack");
        const auto title = [](const QByteArray &bytes) { return Id3::v1(bytes, {}, {}, {}, {}, 7); };
        const auto genre = [](int number) { return Id3::v1("Old", {}, {}, {}, {}, number); };
        QTest::newRow("31 letters") << "title" << QString(31, u'a') << title(QByteArray(30, 'a')) << QString(30, u'a');
        const QString kana = QString(16, QChar(0x3042));
        QTest::newRow("16 kana") << "title" << kana << title(CodePage::toCp932(kana.left(15))) << kana.left(15);
        const QString odd = u'a' + QString(15, QChar(0x3042));
        QTest::newRow("double-byte at the edge") << "title" << odd << title(CodePage::toCp932(odd.left(15))) << odd.left(15);
        QTest::newRow("latin-1 ending in a lead byte") << "title" << "Café" << title("Caf\xE9") << "Café";
        QTest::newRow("latin-1 forming a user-defined character") << "title" << "Björk" << title("Bj\xF6rk") << "Björk";
        QTest::newRow("neither") << "title" << "Café 夜☃" << title("Caf? \x96\xE9?") << "Caf? 夜?";
        QTest::newRow("genre JPop") << "genre" << "JPop" << genre(146) << "JPop";
        QTest::newRow("genre not in table") << "genre" << "Pop" << genre(7) << "ヒップホップ";
        QTest::newRow("genre unnamed number") << "genre" << "(200)" << genre(200) << "(200)";
        QTest::newRow("genre empty is none") << "genre" << QString() << genre(255) << QString();
    }

    // Text in code page 932 where it holds it, else Latin-1, else '?' and a warning;
    // the ID3v2 tag keeps the whole value.
    void id3v1Fields()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(QByteArray, block);
        QFETCH(QString, readBack);
        put(Id3::tag(Id3::textFrame("TPE1", "x"), 100) + Id3::audio(300) + Id3::v1("Old", {}, {}, {}, {}, 7));
        clsTAG tag;
        QVERIFY(tag.setFilePath(m_path));
        tag.setTAG1_DATA(name, value);
        tag.setID3_DATA(name, value);
        QCOMPARE(tag.tag1Replaced(), readBack.contains(u'?'));
        QCOMPARE(tag.UpdateTAG1(m_path), QString());
        QCOMPARE(tag.UpdateID3(m_path), QString());
        QCOMPARE(Id3::read(m_path).right(128), block);
        QVERIFY(tag.setFilePath(m_path));
        QCOMPARE(tag.ID3_DATA(name), value);
        QCOMPARE(tag.TAG1_DATA(name), readBack);
    }

    void editsInPlace_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<QList<QByteArray>>("frames");
        QTest::addColumn<QByteArray>("header");
        const QByteArray first = Id3::frame("COMM", QByteArray("\0eng\0First", 10));
        const QByteArray second = Id3::frame("COMM", QByteArray("\0eng\0Second", 11));
        const QByteArray v23 = Id3::tag(Id3::textFrame("TIT2", "Song") + Id3::textFrame("TPE1", "Band") + first + second, 300);
        // An emptied frame keeps a one-byte body, an absent one is not created,
        // only the first comment changes and keeps its language, 130 bytes need no sync-safe size.
        QTest::newRow("2.3") << v23
                             << QStringList{u"title="_qs, u"encode="_qs, u"comment=Changed"_qs, u"album="_qs + QString(129, u'x')}
                             << QList<QByteArray>{Id3::textFrame("TIT2", ""), Id3::textFrame("TPE1", "Band"),
                                                  Id3::frame("COMM", QByteArray("\0eng\0Changed", 12)), second,
                                                  Id3::textFrame("TALB", QByteArray(129, 'x'))}
                             << v23.left(10);
        // Padding that still holds an old frame behind a zero id, where the new title ends.
        const QByteArray stale = Id3::tag(Id3::textFrame("TIT2", "Song") + QByteArray(4, '\0')
                                              + Id3::textFrame("TPE1", "Stale") + QByteArray(60, '\0'), 0);
        QTest::newRow("stale padding") << stale << QStringList{u"title=Song 123"_qs}
                                       << QList<QByteArray>{Id3::textFrame("TIT2", "Song 123")} << stale.left(10);
        const QByteArray picture = Id3::frame("APIC", QByteArray("\0image/png\0\x03\0", 14) + Id3::audio(200, 9), 4);
        const QByteArray v24 = Id3::tag(picture + Id3::textFrame("TIT2", "Old", 3, 4) + Id3::textFrame("TDRC", "1999", 0, 4), 200, 4);
        QTest::newRow("2.4 sync-safe sizes") << v24 << QStringList{u"title="_qs + QString(130, u'n')}
                                             << QList<QByteArray>{picture, Id3::textFrame("TIT2", QByteArray(130, 'n'), 0, 4),
                                                                  Id3::textFrame("TDRC", "1999", 0, 4)}
                                             << v24.left(10);
        // A trusted extended header: its padding size follows the edit.
        const QByteArray extended = Id3::tag(Id3::textFrame("TIT2", "Song"), 20, 3, 0x40, QByteArray("\0\0\0\x06\0\0\0\0\0\x14", 10));
        QTest::newRow("extended header") << extended << QStringList{u"title=Song 2"_qs}
                                         << QList<QByteArray>{Id3::textFrame("TIT2", "Song 2")}
                                         << extended.left(16) + QByteArray("\0\0\0\x12", 4);
    }

    void editsInPlace()
    {
        QFETCH(QByteArray, before);
        QFETCH(QStringList, edits);
        QFETCH(QList<QByteArray>, frames);
        QFETCH(QByteArray, header);
        const QByteArray audio = Id3::audio(2000);
        put(before + audio);
        clsTAG tag;
        QVERIFY(tag.setFilePath(m_path));
        for (const QString &edit : edits)
            tag.setID3_DATA(edit.section(u'=', 0, 0), edit.section(u'=', 1));
        QCOMPARE(tag.UpdateID3(m_path), QString());
        const QByteArray after = Id3::read(m_path);
        QCOMPARE(after.size(), before.size() + audio.size());
        QVERIFY(after.startsWith(header) && after.endsWith(audio));
        clsTAG again;
        QVERIFY(again.setFilePath(m_path));
        QCOMPARE(again.ID3Frames(), frames);
        for (const QString &edit : edits)
            QCOMPARE(again.ID3_DATA(edit.section(u'=', 0, 0)), edit.section(u'=', 1));
    }

    void textEncodings_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("comment"); // as Corvane writes the text; empty where it writes it otherwise
        const QString cafe = QStringLiteral("Café ☕");
        QTest::newRow("2.3 UTF-16") << 3 << QByteArray('\x01' + Id3::utf16le(cafe)) << cafe
                                    << QByteArray("\x01" "eng\xFF\xFE\0\0", 8) + Id3::utf16le(cafe);
        QTest::newRow("2.4 UTF-8") << 4 << QByteArray('\x03' + cafe.toUtf8()) << cafe
                                   << QByteArray("\x03" "eng\0", 5) + cafe.toUtf8();
        QTest::newRow("2.4 ASCII") << 4 << QByteArray("\0Band", 5) << "Band" << QByteArray("\0eng\0Band", 9);
        QTest::newRow("code page 932") << 3 << QByteArray('\0' + CodePage::toCp932("日本語")) << "日本語" << QByteArray();
        QTest::newRow("UTF-16 with its terminator")
            << 4 << QByteArray('\x01' + Id3::utf16le(cafe) + QByteArray(2, '\0')) << cafe << QByteArray();
        const QByteArray be = QStringEncoder(QStringEncoder::Utf16BE).encode(cafe);
        QTest::newRow("UTF-16BE") << 4 << QByteArray('\x02' + be) << cafe << QByteArray();
        QTest::newRow("UTF-8 two values, padded") << 4 << QByteArray("\x03One\0Two\0\0", 10) << "One/Two" << QByteArray();
        QTest::newRow("UTF-16 odd byte") << 4 << QByteArray("\x01\xFF\xFE\x41\0\x42", 6) << "A" << QByteArray();
    }

    void textEncodings()
    {
        QFETCH(int, version);
        QFETCH(QByteArray, body);
        QFETCH(QString, text);
        QFETCH(QByteArray, comment);
        clsTAG parsed;
        parsed.ParseID3(Id3::tag(Id3::frame("TIT2", body, version), 10, version));
        QCOMPARE(parsed.ID3_DATA(QStringLiteral("title")), text);
        if (comment.isEmpty())
            return;
        put(Id3::tag(Id3::textFrame("TIT2", "x", 0, version) + Id3::frame("COMM", QByteArray("\0eng\0c", 6), version),
                     200, version)
            + Id3::audio(300));
        clsTAG tag;
        QVERIFY(tag.setFilePath(m_path));
        tag.setID3_DATA(QStringLiteral("title"), text);
        tag.setID3_DATA(QStringLiteral("comment"), text);
        QCOMPARE(tag.UpdateID3(m_path), QString());
        QVERIFY(tag.setFilePath(m_path));
        QCOMPARE(tag.ID3Frames().value(0).mid(10), body);
        QCOMPARE(tag.ID3Frames().value(1).mid(10), comment);
    }

    void refusesTagsItCannotRewrite_data()
    {
        QTest::addColumn<QByteArray>("tagBytes");
        QTest::addColumn<QString>("title");
        const QByteArray v22 = QByteArray("ID3\x02\0\0", 6) + Id3::sizeBytes(40, true) + QByteArray("TT2\0\0\x05\0Song", 11)
                               + QByteArray(29, '\0');
        QTest::newRow("v2.2") << v22 << "Song";
        QTest::newRow("unsynchronised") << Id3::tag(Id3::textFrame("TIT2", "Song"), 20, 3, 0x80) << "Song";
        QTest::newRow("footer") << Id3::tag(Id3::textFrame("TIT2", "Song", 0, 4), 20, 4, 0x10) << "Song";
        QTest::newRow("extended header with checksum")
            << Id3::tag(Id3::textFrame("TIT2", "Song"), 20, 3, 0x40, QByteArray("\0\0\0\x0A\x80\0\0\0\0\0\0\0\0\0", 14))
            << "Song";
        QTest::newRow("frame runs past the tag")
            << Id3::tag(Id3::textFrame("TIT2", "Song") + QByteArray("TPE1\0\0\x10\0\0\0Band", 14), 0) << "Song";
        QTest::newRow("unknown version") << Id3::tag(Id3::textFrame("TIT2", "Song"), 20, 5) << QString();
    }

    void refusesTagsItCannotRewrite()
    {
        QFETCH(QByteArray, tagBytes);
        QFETCH(QString, title);
        const QByteArray bytes = tagBytes + Id3::audio(600) + Id3::v1("One");
        put(bytes);
        clsTAG tag;
        QVERIFY(tag.setFilePath(m_path));
        QVERIFY(tag.ID3_IsExist());
        QCOMPARE(tag.ID3_DATA(QStringLiteral("title")), title);
        QVERIFY(!tag.id3Refusal().isEmpty());
        QCOMPARE(tag.UpdateID3(m_path), QString()); // nothing changed, nothing to refuse
        tag.setID3_DATA(QStringLiteral("title"), QStringLiteral("Other"));
        QCOMPARE(tag.UpdateID3(m_path), tag.id3Refusal());
        QCOMPARE(Id3::read(m_path), bytes);
    }

    // With a second hard link the grown file is copied over the old one; without,
    // it takes the old one's place. Either way it is the same file to the user.
    void growsTheTagKeepingTheFile()
    {
        const QByteArray audio = Id3::audio(5000, 3);
        const QByteArray picture = Id3::frame("APIC", Id3::audio(120, 4));
        put(Id3::tag(Id3::textFrame("TIT2", "Short") + picture, 4) + audio + Id3::v1("Short"));
        QVERIFY(QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        const QFile::Permissions permissions = QFile::permissions(m_path);
        const QString link = m_dir.filePath(QStringLiteral("link.mp3"));
        QCOMPARE(::link(QFile::encodeName(m_path).constData(), QFile::encodeName(link).constData()), 0);
        clsTAG tag;
        QVERIFY(tag.setFilePath(m_path));
        tag.setTAG1_DATA(QStringLiteral("title"), QStringLiteral("Long"));
        tag.setID3_DATA(QStringLiteral("comment"), QString(500, u'c'));
        QCOMPARE(tag.UpdateTAG1(m_path), QString());
        QCOMPARE(tag.UpdateID3(m_path), QString());
        QCOMPARE(Id3::read(link), Id3::read(m_path));
        QVERIFY(QFile::remove(link));
        // The grown tag is the loaded one now: a second, larger edit grows it again.
        tag.setID3_DATA(QStringLiteral("album"), QString(3000, u'a'));
        QCOMPARE(tag.UpdateID3(m_path), QString());

        clsTAG again;
        QVERIFY(again.setFilePath(m_path));
        QCOMPARE(again.ID3Frames().value(1), picture);
        QCOMPARE(again.ID3_DATA(QStringLiteral("comment")), QString(500, u'c'));
        QCOMPARE(again.ID3_DATA(QStringLiteral("album")), QString(3000, u'a'));
        const QByteArray bytes = Id3::read(m_path);
        QCOMPARE(bytes.mid(again.ID3Size() + 10), audio + Id3::v1("Long"));
        QCOMPARE(QFile::permissions(m_path), permissions);
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("song.mp3")});
    }

    // A hard-linked file whose audio moves back, stopped by a full disk at
    // each of its writes in turn: it is as it was, or, once its new content
    // was going in, the next start finishes it. No copy stays behind.
    void fullDiskNeverDamagesTheFile()
    {
        const QByteArray before = Id3::tag(Id3::textFrame("TIT2", "Short"), 4) + Id3::audio((2 << 20) + 900, 5)
                                  + Id3::v1("Short");
        const QString link = m_dir.filePath(QStringLiteral("link.mp3"));
        const QString journalPath = m_dir.filePath(QStringLiteral("TagJournal.dat"));
        const auto grow = [&](FullDisk *disk) {
            QFile::remove(link);
            put(before);
            ::link(QFile::encodeName(m_path).constData(), QFile::encodeName(link).constData());
            TagJournal journal(journalPath);
            clsTAG tag;
            tag.setJournal(&journal);
            tag.setWriter(disk);
            tag.setFilePath(m_path);
            tag.setID3_DATA(QStringLiteral("comment"), QString(5000, u'c'));
            return tag.UpdateID3(m_path);
        };
        FullDisk roomy;
        QCOMPARE(grow(&roomy), QString());
        const QByteArray planned = Id3::read(m_path);
        QSet<bool> outcomes;
        for (int n = 1; n <= roomy.writes; ++n) {
            FullDisk disk(n);
            QVERIFY(!grow(&disk).isEmpty());
            const bool asItWas = Id3::read(m_path) == before;
            const QStringList mended = TagJournal::recover(journalPath);
            QCOMPARE(Id3::read(m_path), asItWas ? before : planned);
            QCOMPARE(mended.size(), asItWas ? 0 : 1);
            QCOMPARE(Id3::read(link), Id3::read(m_path));
            QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden),
                     (QStringList{QStringLiteral("link.mp3"), QStringLiteral("song.mp3")}));
            outcomes << asItWas;
        }
        QCOMPARE(outcomes.size(), 2);
        QVERIFY(QFile::remove(link));
    }

    // The same on a real disk: the copy fits, the grown file does not.
    void fullTmpfsLeavesTheFileAlone()
    {
        if (::geteuid() != 0)
            QSKIP("mounting a small tmpfs needs root");
        QTemporaryDir disk;
        const QByteArray mountPoint = QFile::encodeName(disk.path());
        if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=4m") != 0)
            QSKIP("no tmpfs can be mounted here");
        const auto unmount = qScopeGuard([&] { ::umount2(mountPoint.constData(), MNT_DETACH); });
        const QString song = disk.filePath(QStringLiteral("song.mp3"));
        const QByteArray before = Id3::tag(Id3::textFrame("TIT2", "Short"), 4) + Id3::audio(1 << 20, 6) + Id3::v1("S");
        QVERIFY(Id3::write(song, before));
        QCOMPARE(::link(QFile::encodeName(song).constData(), QByteArray(mountPoint + "/link.mp3").constData()), 0);
        struct statvfs space;
        QCOMPARE(::statvfs(mountPoint.constData(), &space), 0);
        const qint64 page = 4096;
        // The tag grows by ten pages and some; the copy gets its pages and one more.
        const qint64 copyPages = (before.size() + 40000 + 2100 + page - 1) / page;
        QVERIFY(Id3::write(disk.filePath(QStringLiteral("filler")),
                           QByteArray((qint64(space.f_bavail) - copyPages - 1) * page, 'f')));

        clsTAG tag;
        QVERIFY(tag.setFilePath(song));
        tag.setID3_DATA(QStringLiteral("comment"), QString(40000, u'c'));
        const QString error = tag.UpdateID3(song);
        QVERIFY2(error.startsWith(QStringLiteral("28 ")), qPrintable(error));
        QCOMPARE(Id3::read(song), before);
        QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{QStringLiteral("filler"), QStringLiteral("link.mp3"), QStringLiteral("song.mp3")}));
    }

    void refusesFilesChangedSinceLoading_data()
    {
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<QString>("title");
        QTest::newRow("replaced, edit in place") << false << "New";
        QTest::newRow("deleted, edit grows the tag") << true << "A title too long for the area";
    }

    void refusesFilesChangedSinceLoading()
    {
        QFETCH(bool, deleted);
        QFETCH(QString, title);
        put(Id3::tag(Id3::textFrame("TIT2", "Song"), 10) + Id3::audio(300) + Id3::v1("Song"));
        clsTAG tag;
        QVERIFY(tag.setFilePath(m_path));
        const QByteArray other = Id3::tag(Id3::textFrame("TIT2", "Else"), 60) + Id3::audio(300) + Id3::v1("Else");
        QVERIFY(deleted ? QFile::remove(m_path) : Id3::write(m_path, other));
        tag.setID3_DATA(QStringLiteral("title"), title);
        tag.setTAG1_DATA(QStringLiteral("title"), QStringLiteral("New"));
        const QStringList errors = {tag.UpdateTAG1(m_path), tag.UpdateID3(m_path)};
        for (const QString &error : errors)
            QVERIFY(deleted ? error.startsWith(QStringLiteral("2 ")) : !error.isEmpty());
        if (deleted)
            QVERIFY(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
        else
            QCOMPARE(Id3::read(m_path), other);
    }

    // A file without tags is no error; one that is missing, cut short or no regular
    // file gets one message naming it. Either way nothing is written.
    void writesNothingItDidNotRead_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("no tags") << Id3::audio(4000);
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("shorter than 128 bytes") << QByteArray(Id3::tag(Id3::textFrame("TIT2", "S"), 5) + QByteArray(50, 'a'));
        QTest::newRow("tag runs past the end") << QByteArray(Id3::tag(Id3::textFrame("TIT2", "S"), 5000).left(400));
        QTest::newRow("folder") << QByteArray();
        QTest::newRow("pipe") << QByteArray();
    }

    void writesNothingItDidNotRead()
    {
        QFETCH(QByteArray, bytes);
        const QString kind = QString::fromLatin1(QTest::currentDataTag());
        const QString path = bytes.isEmpty() ? m_dir.filePath(kind) : put(bytes);
        if (kind == u"folder")
            QVERIFY(QDir().mkpath(path));
        if (kind == u"pipe")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        clsTAG tag(&m_user);
        const bool loads = kind == u"no tags";
        QCOMPARE(tag.setFilePath(path), loads);
        QCOMPARE(tag.ID3_DATA(QStringLiteral("Path")), path);
        QCOMPARE(tag.ID3_DATA(QStringLiteral("filename")), QFileInfo(path).fileName());
        QCOMPARE(m_user.messages.size(), loads ? 0 : 1);
        if (!loads) {
            QCOMPARE(m_user.messages[0].title, QStringLiteral("TAG読込"));
            QCOMPARE(m_user.lastPrompt(), tag.loadError() + QStringLiteral("\r\n\r\n") + path);
        }
        if (kind == u"missing")
            QVERIFY(m_user.lastPrompt().startsWith(QStringLiteral("2 ")));
        tag.setTAG1_DATA(QStringLiteral("title"), QStringLiteral("x"));
        tag.setID3_DATA(QStringLiteral("title"), QStringLiteral("x"));
        QCOMPARE(tag.UpdateTAG1(path), QString());
        QCOMPARE(tag.UpdateID3(path), tag.ID3_IsExist() ? tag.loadError() : QString());
        if (!bytes.isEmpty())
            QCOMPARE(Id3::read(path), bytes);
    }
};

QTEST_GUILESS_MAIN(TestClsTag)
#include "tst_clstag.moc"
