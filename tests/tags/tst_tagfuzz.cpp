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
    QList<QByteArray> m_seeds;

    static int environmentNumber(const char *name, int fallback)
    {
        bool ok = false;
        const int value = qEnvironmentVariableIntValue(name, &ok);
        return ok ? value : fallback;
    }

    static QByteArray mutate(QByteArray bytes, QRandomGenerator &random)
    {
        static const char interesting[] = {0x00, 0x01, 0x7F, char(0x80), char(0xFF), char(0xFE), 0x40, 0x10};
        const int rounds = 1 + random.bounded(8);
        for (int round = 0; round < rounds && !bytes.isEmpty(); ++round) {
            const int at = random.bounded(int(bytes.size()));
            switch (random.bounded(8)) {
            case 0:
                bytes[at] = char(bytes[at] ^ (1 << random.bounded(8)));
                break;
            case 1:
                bytes[at] = char(random.bounded(256));
                break;
            case 2:
                bytes[at] = interesting[random.bounded(int(sizeof interesting))];
                break;
            case 3:
                bytes.truncate(at);
                break;
            case 4: {
                const int length = random.bounded(64);
                bytes.insert(at, bytes.mid(random.bounded(int(bytes.size())), length));
                break;
            }
            case 5:
                bytes.remove(at, random.bounded(32));
                break;
            case 6: // a size field somewhere in the header or a frame header
                if (bytes.size() > 10) {
                    const int field = random.bounded(2) ? 6 : 10 + random.bounded(int(std::min<qsizetype>(bytes.size() - 10, 200)));
                    for (int i = 0; i < 4 && field + i < bytes.size(); ++i)
                        bytes[field + i] = interesting[random.bounded(int(sizeof interesting))];
                }
                break;
            default:
                if (bytes.size() > 5)
                    bytes[5] = char(random.bounded(256)); // header flags
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

private Q_SLOTS:
    void initTestCase()
    {
        const QDir corpus(QStringLiteral(CORVANE_TAG_CORPUS));
        for (const QString &name : corpus.entryList({QStringLiteral("*.mp3")}, QDir::Files))
            m_seeds << Id3::read(corpus.filePath(name));
        QVERIFY(m_seeds.size() >= 5);
        m_seeds << Id3::tag(Id3::textFrame("TIT2", "Title", 0, 4) + Id3::frame("APIC", Id3::audio(300), 4), 30, 4)
                       + Id3::audio(400) + Id3::v1("Title");
    }

    void parserSurvivesMutations()
    {
        const int iterations = environmentNumber("CORVANE_FUZZ_ITERATIONS", 20000);
        QRandomGenerator random(quint32(environmentNumber("CORVANE_FUZZ_SEED", 20261206)));
        for (int i = 0; i < iterations; ++i) {
            const QByteArray input = mutate(m_seeds[random.bounded(int(m_seeds.size()))], random);
            clsTAG tag;
            tag.ParseID3(input);
            if (input.size() >= 128)
                tag.ParseTag1(input.right(128));
            exercise(tag);
            QVERIFY(tag.ID3FramesEnd() <= std::max<qint64>(10, input.size()));
        }
        qInfo("%d mutated tags parsed", iterations);
    }

    void writesKeepTheAudio()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("fuzz.mp3"));
        const int iterations = environmentNumber("CORVANE_FUZZ_ITERATIONS", 20000) / 20;
        QRandomGenerator random(quint32(environmentNumber("CORVANE_FUZZ_SEED", 20261206)) + 1);
        for (int i = 0; i < iterations; ++i) {
            const QByteArray before = mutate(m_seeds[random.bounded(int(m_seeds.size()))], random);
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
                continue;
            }
            const qint64 newArea = tag.ID3_IsExist() ? tag.ID3Size() + 10 : 0;
            QCOMPARE(after.size() - newArea, before.size() - oldArea);
            QCOMPARE(after.mid(newArea, after.size() - newArea - tail),
                     before.mid(oldArea, before.size() - oldArea - tail));
            if (written && tag.ID3_IsExist()) {
                clsTAG again;
                QVERIFY(again.setFilePath(path));
                QCOMPARE(again.ID3Frames(), tag.ID3Frames());
            }
        }
        QVERIFY(dir.isValid());
    }
};

QTEST_GUILESS_MAIN(TestTagFuzz)
#include "tst_tagfuzz.moc"
