#include "id3builder.h"
#include "tags/clstag.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

// Seeded mutation of real-looking tags: the parser must neither crash nor read
// out of range (run it under AddressSanitizer for long runs), and a write must
// either leave the file as it was or keep every byte outside the tag.
// CORVANE_FUZZ_ITERATIONS and CORVANE_FUZZ_SEED lengthen or vary a run.
class TestTagFuzz : public QObject
{
    Q_OBJECT

private:
    static QByteArray mutate(QByteArray bytes, QRandomGenerator &random)
    {
        static const char interesting[] = {0x00, 0x01, 0x7F, char(0x80), char(0xFF), char(0xFE), 0x40, 0x10};
        const auto pick = [&] { return interesting[random.bounded(int(sizeof interesting))]; };
        const int rounds = 1 + random.bounded(8);
        for (int round = 0; round < rounds && bytes.size() > 10; ++round) {
            const int at = random.bounded(int(bytes.size()));
            switch (random.bounded(5)) {
            case 0:
                bytes[at] = random.bounded(2) ? char(random.bounded(256)) : pick();
                break;
            case 1:
                bytes.truncate(at);
                break;
            case 2:
                bytes.insert(at, bytes.mid(random.bounded(int(bytes.size())), random.bounded(64)));
                break;
            case 3:
                bytes.remove(at, random.bounded(32));
                break;
            default: // the header's flags and size, or a frame's size
                for (int i = 0, field = random.bounded(2) ? 5 : 10 + at % 200; i < 5 && field + i < bytes.size(); ++i)
                    bytes[field + i] = pick();
                break;
            }
        }
        return bytes;
    }

    static void exercise(clsTAG &tag)
    {
        for (const char *name : {"title", "artist", "album", "genre", "encode", "truckno", "year", "comment"}) {
            const QString field = QString::fromLatin1(name);
            tag.ID3_DATA(field);
            tag.TAG1_DATA(field);
            tag.ID3_FrameNo(tag.GetID(field));
        }
        tag.setID3_DATA(QStringLiteral("title"), QStringLiteral("Fuzzed ☕"));
        tag.setID3_DATA(QStringLiteral("comment"), QStringLiteral("コメント"));
        tag.setTAG1_DATA(QStringLiteral("genre"), QStringLiteral("JPop"));
        tag.ID3Frames();
    }

    // Every 20th input is also written: the bytes outside the tags must stay.
    static void writeKeepsTheAudio(const QString &path, const QByteArray &before)
    {
        QVERIFY(Id3::write(path, before));
        clsTAG tag;
        const bool loaded = tag.setFilePath(path);
        const qint64 oldArea = tag.ID3_IsExist() ? tag.ID3Size() + 10 : 0;
        const qint64 tail = tag.Tg1_IsExist() ? 128 : 0;
        exercise(tag);
        const bool written = tag.UpdateTAG1(path).isEmpty() && tag.UpdateID3(path).isEmpty();
        const QByteArray after = Id3::read(path);
        if (!loaded) {
            QCOMPARE(after, before);
            return;
        }
        const qint64 newArea = tag.ID3_IsExist() ? tag.ID3Size() + 10 : 0;
        QCOMPARE(after.size() - newArea, before.size() - oldArea);
        QCOMPARE(after.mid(newArea, after.size() - newArea - tail), before.mid(oldArea, before.size() - oldArea - tail));
        clsTAG again;
        if (written && tag.ID3_IsExist() && again.setFilePath(path))
            QCOMPARE(again.ID3Frames(), tag.ID3Frames());
    }

private Q_SLOTS:
    void survivesMutations()
    {
        QList<QByteArray> seeds;
        const QDir corpus(QStringLiteral(CORVANE_TAG_CORPUS));
        for (const QString &name : corpus.entryList({QStringLiteral("*.mp3")}, QDir::Files))
            seeds << Id3::read(corpus.filePath(name));
        QVERIFY(seeds.size() >= 5);
        seeds << Id3::tag(Id3::textFrame("TIT2", "Title", 0, 4) + Id3::frame("APIC", Id3::audio(300), 4), 30, 4)
                     + Id3::audio(400) + Id3::v1("Title");
        const int iterations = qEnvironmentVariableIntValue("CORVANE_FUZZ_ITERATIONS");
        const int seed = qEnvironmentVariableIntValue("CORVANE_FUZZ_SEED");
        QRandomGenerator random(quint32(seed ? seed : 20261206));
        QTemporaryDir dir;
        for (int i = 0; i < (iterations ? iterations : 20000); ++i) {
            const QByteArray input = mutate(seeds[random.bounded(int(seeds.size()))], random);
            clsTAG tag;
            tag.ParseID3(input);
            if (input.size() >= 128)
                tag.ParseTag1(input.right(128));
            exercise(tag);
            QVERIFY(tag.ID3FramesEnd() <= std::max<qint64>(10, input.size()));
            if (i % 20 == 0)
                writeKeepsTheAudio(dir.filePath(QStringLiteral("fuzz.mp3")), input);
            if (QTest::currentTestFailed())
                return;
        }
    }
};

QTEST_GUILESS_MAIN(TestTagFuzz)
#include "tst_tagfuzz.moc"
