#include "id3builder.h"
#include "platform/codepage.h"
#include "tags/clstag.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// Tags that Corvane writes must read back in Debian's id3v2 and python3-mutagen,
// and tags those tools wrote must survive a Corvane edit frame by frame.
// Skipped where the tools are not installed.
class TestTagInterop : public QObject
{
    Q_OBJECT

private:
    QString m_python;
    QString m_id3v2;
    QTemporaryDir m_dir;

    static constexpr char dumpScript[] = "import json, sys\n"
                                         "from mutagen.id3 import ID3\n"
                                         "tags = ID3(sys.argv[1], translate=False, load_v1=False)\n"
                                         "print(json.dumps({'version': '%d.%d' % tags.version[:2],\n"
                                         "                  'frames': {k: {'repr': repr(v), 'text': str(v)} "
                                         "for k, v in tags.items()}}))\n";

    QString run(const QString &program, const QStringList &arguments, const QString &folder = {})
    {
        QProcess process;
        if (!folder.isEmpty())
            process.setWorkingDirectory(folder);
        process.start(program, arguments);
        if (!process.waitForFinished(60000) || process.exitCode() != 0) {
            qWarning("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
            return {};
        }
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    // The tag's version and, by frame, what the tool reads in it.
    QJsonObject mutagenDump(const QString &path)
    {
        const QString output = run(m_python, {QStringLiteral("-c"), QString::fromLatin1(dumpScript), path});
        return QJsonDocument::fromJson(output.toUtf8()).object();
    }

    static QString frameText(const QJsonObject &dump, const QString &id)
    {
        return dump.value(u"frames").toObject().value(id).toObject().value(u"text").toString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QProcess probe;
        probe.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QStringLiteral("import mutagen")});
        if (!probe.waitForFinished(30000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
            QSKIP("python3-mutagen is not installed");
        m_python = probe.program();
        m_id3v2 = QStandardPaths::findExecutable(QStringLiteral("id3v2"));
        if (m_id3v2.isEmpty())
            QSKIP("id3v2 is not installed");
        QVERIFY(QFile::copy(QStringLiteral(CORVANE_TAG_CORPUS "/make_corpus.py"), m_dir.filePath(QStringLiteral("make.py"))));
    }

    void toolsReadWhatCorvaneWrites()
    {
        const QString path = m_dir.filePath(QStringLiteral("written.mp3"));
        QVERIFY(Id3::write(path, Id3::tag(Id3::textFrame("TIT2", "x") + Id3::textFrame("TYER", "1990"), 40)
                                     + Id3::audio(4000) + Id3::v1("x")));
        clsTAG tag;
        QVERIFY(tag.setFilePath(path));
        tag.setID3_DATA(QStringLiteral("title"), QStringLiteral("夜明け"));
        tag.setID3_DATA(QStringLiteral("artist"), QStringLiteral("Plain Artist"));
        tag.setID3_DATA(QStringLiteral("encode"), QStringLiteral("Björk"));
        tag.setID3_DATA(QStringLiteral("comment"), QStringLiteral("Café 夜明け ☕"));
        tag.setID3_DATA(QStringLiteral("album"), QString(600, u'a')); // grows the tag
        tag.setTAG1_DATA(QStringLiteral("title"), QStringLiteral("V1 title"));
        QCOMPARE(tag.UpdateTAG1(path), QString());
        QCOMPARE(tag.UpdateID3(path), QString());

        const QJsonObject dump = mutagenDump(path);
        QCOMPARE(dump.value(u"version").toString(), QStringLiteral("2.3"));
        const QStringList expected = {u"TIT2=夜明け"_qs, u"TENC=Björk"_qs, u"TPE1=Plain Artist"_qs, u"TYER=1990"_qs,
                                      u"COMM::jpn=Café 夜明け ☕"_qs, u"TALB="_qs + QString(600, u'a')};
        for (const QString &frame : expected)
            QCOMPARE(frameText(dump, frame.section(u'=', 0, 0)), frame.section(u'=', 1));
        const QString listing = run(m_id3v2, {QStringLiteral("-l"), path});
        for (const QString &text : {u"Plain Artist"_qs, u"Björk"_qs, u"夜明け"_qs, u"V1 title"_qs})
            QVERIFY2(listing.contains(text), qPrintable(listing));
    }

    // A file with no tag at all gets an ID3v2.3 tag and an ID3v1 block
    // that the tools read; the audio between them stays as it was.
    void untaggedFileGetsTags()
    {
        const QString path = m_dir.filePath(QStringLiteral("untagged.mp3"));
        const QByteArray audio = Id3::audio(6000, 8);
        QVERIFY(Id3::write(path, audio));
        clsTAG tag;
        QVERIFY(tag.setFilePath(path));
        QVERIFY(tag.addMissingTags(true, true));
        for (const QString &name : {u"title"_qs, u"artist"_qs}) {
            tag.setTAG1_DATA(name, name + u" 夜");
            tag.setID3_DATA(name, name + u" 夜");
        }
        QCOMPARE(tag.UpdateTAG1(path), QString());
        QCOMPARE(tag.UpdateID3(path), QString());

        const QJsonObject dump = mutagenDump(path);
        QCOMPARE(dump.value(u"version").toString(), QStringLiteral("2.3"));
        QCOMPARE(frameText(dump, QStringLiteral("TIT2")), QStringLiteral("title 夜"));
        QCOMPARE(frameText(dump, QStringLiteral("TPE1")), QStringLiteral("artist 夜"));
        QVERIFY(run(m_id3v2, {QStringLiteral("-l"), path}).contains(QStringLiteral("id3v1 tag info")));
        QVERIFY(tag.setFilePath(path));
        const QByteArray bytes = Id3::read(path);
        QCOMPARE(bytes.mid(tag.ID3Size() + 10), audio + Id3::v1(CodePage::toCp932(u"title 夜"_qs),
                                                                 CodePage::toCp932(u"artist 夜"_qs)));
    }

    void editsKeepWhatToolsWrote_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("mutagen v2.3 UTF-16") << "mutagen_v23_utf16.mp3";
        QTest::newRow("mutagen v2.4 UTF-8 with a picture") << "mutagen_v24_utf8_picture.mp3";
        QTest::newRow("id3v2") << "id3v2_tool.mp3";
    }

    void editsKeepWhatToolsWrote()
    {
        QFETCH(QString, file);
        QTemporaryDir fresh;
        run(m_python, {m_dir.filePath(QStringLiteral("make.py"))}, fresh.path());
        const QString path = fresh.filePath(file);
        QVERIFY2(QFile::exists(path), "the tools wrote no file");
        const QStringList framesBefore = mutagenDump(path).value(u"frames").toObject().keys();
        QVERIFY(!framesBefore.isEmpty());

        clsTAG tag;
        QVERIFY(tag.setFilePath(path));
        QCOMPARE(tag.id3Refusal(), QString());
        QList<QByteArray> expected = tag.ID3Frames();
        const int titleFrame = tag.ID3_FrameNo(QStringLiteral("TIT2"));
        QVERIFY(titleFrame > 0);
        const QString title = QStringLiteral("Corvane ☕ title, long enough to need more room than the padding had: ")
                              + QString(300, u'x');
        tag.setID3_DATA(QStringLiteral("title"), title);
        QCOMPARE(tag.UpdateID3(path), QString());

        // Every other frame stays byte for byte, and the tool still reads them all.
        clsTAG again;
        QVERIFY(again.setFilePath(path));
        expected[titleFrame - 1] = again.ID3Frames().value(titleFrame - 1);
        QCOMPARE(again.ID3Frames(), expected);
        QCOMPARE(again.ID3_DATA(QStringLiteral("title")), title);
        const QJsonObject after = mutagenDump(path);
        QCOMPARE(after.value(u"frames").toObject().keys(), framesBefore);
        QCOMPARE(frameText(after, QStringLiteral("TIT2")), title);
        if (file.startsWith(u"id3v2")) {
            const QString listing = run(m_id3v2, {QStringLiteral("-l"), path});
            QVERIFY(listing.contains(QStringLiteral("Tool Artist")) && listing.contains(QStringLiteral("Tool comment")));
        }
    }
};

QTEST_GUILESS_MAIN(TestTagInterop)
#include "tst_taginterop.moc"
