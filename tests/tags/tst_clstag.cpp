#include "id3builder.h"
#include "platform/codepage.h"
#include "scripteduserchannel.h"
#include "tags/clstag.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

class TestClsTag : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;
    ScriptedUserChannel m_user;

    QString put(const QByteArray &bytes, const QString &name = QStringLiteral("song.mp3"))
    {
        m_path = m_dir.filePath(name);
        QFile::remove(m_path);
        if (!Id3::write(m_path, bytes))
            qFatal("cannot write test file");
        return m_path;
    }

    static QByteArray standardFrames(int version = 3)
    {
        return Id3::textFrame("TIT2", "Song", 0, version) + Id3::textFrame("TPE1", "Band", 0, version)
               + Id3::frame("COMM", QByteArray("\0eng\0First", 10), version)
               + Id3::frame("COMM", QByteArray("\0eng\0Second", 11), version);
    }

private Q_SLOTS:
    void init() { m_user.clear(); }

    void fileWithoutTags()
    {
        const QByteArray bytes = Id3::audio(4000);
        clsTAG tag(&m_user);
        QVERIFY(tag.setFilePath(put(bytes)));
        QVERIFY(!tag.Tg1_IsExist() && !tag.ID3_IsExist());
        QCOMPARE(tag.ID3_DATA(QStringLiteral("filename")), QStringLiteral("song.mp3"));
        QCOMPARE(tag.ID3_DATA(QStringLiteral("Path")), m_path);
        tag.setTAG1_DATA(QStringLiteral("title"), QStringLiteral("New"));
        tag.setID3_DATA(QStringLiteral("title"), QStringLiteral("New"));
        QCOMPARE(tag.UpdateTAG1(m_path), QString());
        QCOMPARE(tag.UpdateID3(m_path), QString());
        QCOMPARE(Id3::read(m_path), bytes);
        QVERIFY(m_user.messages.isEmpty());
    }

    void id3v1Genre_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("stored");
        QTest::newRow("JPop") << "JPop" << 146;
        QTest::newRow("not in table") << "Pop" << 7;
        QTest::newRow("unnamed number") << "(200)" << 200;
        QTest::newRow("empty is none") << QString() << 255;
    }

    void id3v1Genre()
    {
        QFETCH(QString, value);
        QFETCH(int, stored);
        put(Id3::audio(500) + Id3::v1("T", {}, {}, {}, {}, 7));
        clsTAG tag;
        QVERIFY(tag.setFilePath(m_path));
        tag.setTAG1_DATA(QStringLiteral("genre"), value);
        QCOMPARE(tag.UpdateTAG1(m_path), QString());
        QCOMPARE(int(uchar(Id3::read(m_path).back())), stored);
    }

    void id3v1Text_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QString>("readBack");
        QTest::newRow("31 letters") << QString(31, u'a') << QByteArray(30, 'a') << QString(30, u'a');
        const QString kana = QString(16, QChar(0x3042));
        QTest::newRow("16 kana") << kana << CodePage::toCp932(kana.left(15)) << kana.left(15);
        const QString odd = u'a' + QString(15, QChar(0x3042));
        QTest::newRow("double-byte at the edge") << odd << CodePage::toCp932(odd.left(15)) + '\0' << odd.left(15);
        QTest::newRow("latin-1") << "Café ñ" << QByteArray("Caf\xE9 \xF1") << "Café ñ";
        QTest::newRow("neither") << "Café 夜☃" << QByteArray("Caf? \x96\xE9?") << "Caf? 夜?";
    }

    // Code page 932 where it holds the text, else Latin-1, else '?' and a warning.
    void id3v1Text()
    {
        QFETCH(QString, value);
        QFETCH(QByteArray, field);
        QFETCH(QString, readBack);
        put(Id3::tag(Id3::textFrame("TPE1", "x"), 100) + Id3::audio(300) + Id3::v1("Old"));
        clsTAG tag;
        QVERIFY(tag.setFilePath(m_path));
        tag.setTAG1_DATA(QStringLiteral("title"), value);
        tag.setID3_DATA(QStringLiteral("title"), value);
        QCOMPARE(tag.tag1Replaced(), readBack.contains(u'?'));
        QCOMPARE(tag.UpdateTAG1(m_path), QString());
        QCOMPARE(tag.UpdateID3(m_path), QString());
        QCOMPARE(Id3::read(m_path).right(128).mid(3, 30), field + QByteArray(30 - field.size(), '\0'));
        QVERIFY(tag.setFilePath(m_path));
        QCOMPARE(tag.ID3_DATA(QStringLiteral("title")), value);
        QCOMPARE(tag.TAG1_DATA(QStringLiteral("title")), readBack);
    }

    void id3v1Reading_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("code page 932") << CodePage::toCp932(QStringLiteral("夜明け")) << "夜明け";
        QTest::newRow("latin-1 broken as code page 932") << QByteArray("Caf\xE9") << "Café";
        QTest::newRow("latin-1 forming a user-defined character") << QByteArray("Bj\xF6rk") << "Björk";
    }

    void id3v1Reading()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        clsTAG tag;
        tag.ParseTag1(Id3::v1("").replace(3, bytes.size(), bytes));
        QCOMPARE(tag.TAG1_DATA(QStringLiteral("title")), text);
    }

    void editsInPlace()
    {
        const QByteArray audio = Id3::audio(2000);
        const QByteArray original = Id3::tag(standardFrames(), 300) + audio;
        put(original);
        clsTAG tag;
        QVERIFY(tag.setFilePath(m_path));
        QCOMPARE(tag.ID3_Ver(), 3);
        QCOMPARE(tag.ID3_DATA(QStringLiteral("comment")), QStringLiteral("First"));
        QCOMPARE(tag.ID3_FrameNo(QStringLiteral("tpe1")), 2);
        QCOMPARE(tag.ID3FramesEnd(), tag.ID3Size() + 10 - 300);
        const QList<QByteArray> before = tag.ID3Frames();
        tag.setID3_DATA(QStringLiteral("title"), QString());       // existing frame: one-byte body stays
        tag.setID3_DATA(QStringLiteral("encode"), QString());      // absent frame: nothing is created
        tag.setID3_DATA(QStringLiteral("comment"), QStringLiteral("Changed"));
        tag.setID3_DATA(QStringLiteral("album"), QString(130 - 1, u'x')); // a 130-byte body
        QCOMPARE(tag.UpdateID3(m_path), QString());

        const QByteArray bytes = Id3::read(m_path);
        QCOMPARE(bytes.size(), original.size());
        QVERIFY(bytes.endsWith(audio));
        QVERIFY(tag.setFilePath(m_path));
        const QList<QByteArray> after = tag.ID3Frames();
        QCOMPARE(after.size(), 5);
        QCOMPARE(after[0], QByteArray("TIT2\0\0\0\x01\0\0\0", 11));
        QCOMPARE(after[1], before[1]);
        QCOMPARE(tag.ID3_DATA(QStringLiteral("comment")), QStringLiteral("Changed"));
        QCOMPARE(after[2].mid(10, 5), QByteArray("\0eng\0", 5)); // language kept
        QCOMPARE(after[3], before[3]);                           // only the first comment changes
        QCOMPARE(after[4].left(8), QByteArray("TALB\0\0\0\x82", 8));
        QCOMPARE(tag.ID3_FrameNo(QStringLiteral("TENC")), 0);
    }

    void clearsLeftOversInThePadding()
    {
        // Padding that still holds an old frame behind a zero id.
        const QByteArray padding = QByteArray(4, '\0') + Id3::textFrame("TPE1", "Stale") + QByteArray(60, '\0');
        put(Id3::tag(Id3::textFrame("TIT2", "Song") + padding, 0) + Id3::audio(300));
        clsTAG tag;
        QVERIFY(tag.setFilePath(m_path));
        QCOMPARE(tag.ID3Frames().size(), 1);
        tag.setID3_DATA(QStringLiteral("title"), QStringLiteral("Song 123")); // ends where the stale frame starts
        QCOMPARE(tag.UpdateID3(m_path), QString());
        clsTAG again;
        QVERIFY(again.setFilePath(m_path));
        QCOMPARE(again.ID3Frames(), tag.ID3Frames());
        QCOMPARE(again.ID3_FrameNo(QStringLiteral("TPE1")), 0);
    }

    void syncSafeFrameSizesInVersion4()
    {
        const QByteArray picture = Id3::frame("APIC", QByteArray("\0image/png\0\x03\0", 14) + Id3::audio(200, 9), 4);
        const QByteArray audio = Id3::audio(3000, 5);
        put(Id3::tag(picture + Id3::textFrame("TIT2", "Old", 3, 4) + Id3::textFrame("TDRC", "1999", 0, 4), 50, 4)
            + audio);
        clsTAG tag;
        QVERIFY(tag.setFilePath(m_path));
        QCOMPARE(tag.ID3_DATA(QStringLiteral("title")), QStringLiteral("Old"));
        tag.setID3_DATA(QStringLiteral("title"), QStringLiteral("A new and much longer title"));
        QCOMPARE(tag.UpdateID3(m_path), QString());
        QVERIFY(tag.setFilePath(m_path));
        QCOMPARE(tag.ID3Frames().value(0), picture);
        QCOMPARE(tag.ID3_DATA(QStringLiteral("title")), QStringLiteral("A new and much longer title"));
        QCOMPARE(tag.ID3Frames().value(1).mid(4, 4), QByteArray("\0\0\0\x1C", 4));
        QVERIFY(Id3::read(m_path).endsWith(audio));
    }

    void decodesEncodings_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("text");
        const QString cafe = QStringLiteral("Café ☕");
        const QByteArray be = QStringEncoder(QStringEncoder::Utf16BE).encode(cafe);
        QTest::newRow("cp932") << QByteArray('\0' + CodePage::toCp932("日本語")) << "日本語";
        QTest::newRow("utf-16 le") << QByteArray('\x01' + Id3::utf16le(cafe) + QByteArray(2, '\0')) << cafe;
        QTest::newRow("utf-16be") << QByteArray('\x02' + be) << cafe;
        QTest::newRow("utf-8") << QByteArray('\x03' + cafe.toUtf8()) << cafe;
        QTest::newRow("utf-8 two values") << QByteArray("\x03One\0Two", 8) << "One/Two";
        QTest::newRow("utf-16 odd byte") << QByteArray("\x01\xFF\xFE\x41\0\x42", 6) << "A";
    }

    void decodesEncodings()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, text);
        clsTAG tag;
        tag.ParseID3(Id3::tag(Id3::frame("TIT2", body, 4), 10, 4));
        QCOMPARE(tag.ID3_DATA(QStringLiteral("title")), text);
    }

    void encodesWhatIsNotAscii_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QByteArray>("title");
        QTest::addColumn<QByteArray>("comment");
        QTest::newRow("2.3: UTF-16") << 3 << QByteArray('\x01' + Id3::utf16le(QStringLiteral("夜明け")))
                                     << QByteArray("\x01" "eng\xFF\xFE\0\0\xFF\xFE\xA9\x03", 12);
        QTest::newRow("2.4: UTF-8") << 4 << QByteArray("\x03" + QStringLiteral("夜明け").toUtf8())
                                    << QByteArray("\x03" "eng\0\xCE\xA9", 7);
    }

    void encodesWhatIsNotAscii()
    {
        QFETCH(int, version);
        QFETCH(QByteArray, title);
        QFETCH(QByteArray, comment);
        put(Id3::tag(Id3::textFrame("TIT2", "x", 0, version) + Id3::frame("COMM", QByteArray("\0eng\0c", 6), version)
                         + Id3::textFrame("TPE1", "x", 0, version),
                     200, version)
            + Id3::audio(300));
        clsTAG tag;
        QVERIFY(tag.setFilePath(m_path));
        tag.setID3_DATA(QStringLiteral("title"), QStringLiteral("夜明け"));
        tag.setID3_DATA(QStringLiteral("comment"), QStringLiteral("Ω"));
        tag.setID3_DATA(QStringLiteral("artist"), QStringLiteral("Band"));
        QCOMPARE(tag.UpdateID3(m_path), QString());
        const QList<QByteArray> frames = tag.ID3Frames();
        QCOMPARE(frames[0].mid(10), title);
        QCOMPARE(frames[1].mid(10), comment);
        QCOMPARE(frames[2], Id3::textFrame("TPE1", "Band", 0, version));
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

    void keepsTrustedExtendedHeaderUpToDate()
    {
        const QByteArray extended("\0\0\0\x06\0\0\0\0\0\x14", 10);
        put(Id3::tag(Id3::textFrame("TIT2", "Song"), 20, 3, 0x40, extended) + Id3::audio(400));
        clsTAG tag;
        QVERIFY(tag.setFilePath(m_path));
        QCOMPARE(tag.ID3HeaderLength(), 20);
        QCOMPARE(tag.id3Refusal(), QString());
        tag.setID3_DATA(QStringLiteral("title"), QStringLiteral("Song 2"));
        QCOMPARE(tag.UpdateID3(m_path), QString());
        const QByteArray bytes = Id3::read(m_path);
        QCOMPARE(ByteToLong(bytes, 16, 4, false), 20 - 2);
        QVERIFY(tag.setFilePath(m_path));
        QCOMPARE(tag.ID3_DATA(QStringLiteral("title")), QStringLiteral("Song 2"));
    }

    void growsTheTagKeepingTheFile()
    {
        const QByteArray audio = Id3::audio(5000, 3);
        const QByteArray picture = Id3::frame("APIC", Id3::audio(120, 4));
        put(Id3::tag(Id3::textFrame("TIT2", "Short") + picture, 4) + audio + Id3::v1("Short"));
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        const QFile::Permissions permissions = QFile::permissions(m_path);
        // A second hard link must see the new tag as well: the file keeps its identity.
        const QString link = m_dir.filePath(QStringLiteral("link.mp3"));
        QCOMPARE(::link(QFile::encodeName(m_path).constData(), QFile::encodeName(link).constData()), 0);
        struct stat before;
        QCOMPARE(::stat(QFile::encodeName(m_path).constData(), &before), 0);
        clsTAG tag;
        QVERIFY(tag.setFilePath(m_path));
        tag.setTAG1_DATA(QStringLiteral("title"), QStringLiteral("Long"));
        tag.setID3_DATA(QStringLiteral("comment"), QString(500, u'c'));
        QCOMPARE(tag.UpdateTAG1(m_path), QString());
        QCOMPARE(tag.UpdateID3(m_path), QString());

        const QByteArray bytes = Id3::read(m_path);
        QVERIFY(bytes.startsWith("ID3\x03"));
        const qint64 area = ByteToLong(bytes, 6, 4, true) + 10;
        QCOMPARE(bytes.mid(area), audio + Id3::v1("Long"));
        QCOMPARE(bytes.indexOf("ID3", 1), -1);
        QCOMPARE(QFile::permissions(m_path), permissions);
        QCOMPARE(Id3::read(link), bytes);
        struct stat after;
        QCOMPARE(::stat(QFile::encodeName(m_path).constData(), &after), 0);
        QCOMPARE(after.st_ino, before.st_ino);
        QVERIFY(QFile::remove(link));
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("song.mp3")});

        // The grown tag is the loaded one now: a second, larger edit grows it again.
        tag.setID3_DATA(QStringLiteral("album"), QString(3000, u'a'));
        QCOMPARE(tag.UpdateID3(m_path), QString());
        clsTAG again;
        QVERIFY(again.setFilePath(m_path));
        QCOMPARE(again.ID3Frames().value(1), picture);
        QCOMPARE(again.ID3_DATA(QStringLiteral("comment")), QString(500, u'c'));
        QCOMPARE(again.ID3_DATA(QStringLiteral("album")), QString(3000, u'a'));
        const QByteArray last = Id3::read(m_path);
        QCOMPARE(last.mid(again.ID3Size() + 10), audio + Id3::v1("Long"));
        QCOMPARE(last.indexOf("ID3", 1), -1);
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

    // Missing, cut short, or no regular file: one message naming the file, nothing written.
    void reportsFilesItCannotLoad_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("shorter than 128 bytes") << QByteArray(Id3::tag(Id3::textFrame("TIT2", "S"), 5) + QByteArray(50, 'a'));
        QTest::newRow("tag runs past the end") << QByteArray(Id3::tag(Id3::textFrame("TIT2", "S"), 5000).left(400));
        QTest::newRow("folder") << QByteArray();
        QTest::newRow("pipe") << QByteArray();
    }

    void reportsFilesItCannotLoad()
    {
        QFETCH(QByteArray, bytes);
        const QString kind = QString::fromLatin1(QTest::currentDataTag());
        const QString path = bytes.isEmpty() ? m_dir.filePath(kind) : put(bytes);
        if (kind == u"folder")
            QVERIFY(QDir().mkpath(path));
        if (kind == u"pipe")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        clsTAG tag(&m_user);
        QVERIFY(!tag.setFilePath(path));
        QVERIFY(!tag.loadError().isEmpty());
        QCOMPARE(m_user.messages.size(), 1);
        QCOMPARE(m_user.messages[0].title, QStringLiteral("TAG読込"));
        QVERIFY(m_user.lastPrompt().endsWith(QStringLiteral("\r\n\r\n") + path));
        if (kind == u"missing")
            QVERIFY(m_user.lastPrompt().startsWith(QStringLiteral("2 ")));
        tag.setTAG1_DATA(QStringLiteral("title"), QStringLiteral("x"));
        tag.setID3_DATA(QStringLiteral("title"), QStringLiteral("x"));
        QCOMPARE(tag.UpdateTAG1(path), QString());
        if (tag.ID3_IsExist())
            QCOMPARE(tag.UpdateID3(path), tag.loadError());
        if (!bytes.isEmpty())
            QCOMPARE(Id3::read(path), bytes);
    }
};

QTEST_GUILESS_MAIN(TestClsTag)
#include "tst_clstag.moc"
