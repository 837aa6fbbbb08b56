// Reads the tags of many MP3 files with clsTAG and compares the time with
// plain reads of the same bytes (the tag area and the last 128 bytes).
// Usage: bench_tagread [files] [file KB] [tag area KB]   (default 10000 64 4)

#include "id3builder.h"
#include "tags/clstag.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <numeric>
#include <vector>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

qint64 plainReads(const QStringList &paths, int area)
{
    QByteArray head(area, '\0');
    QByteArray tail(128, '\0');
    qint64 total = 0;
    for (const QString &path : paths) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        struct stat st;
        if (fd < 0 || ::fstat(fd, &st) != 0)
            qFatal("cannot read %s", qPrintable(path));
        total += ::pread(fd, head.data(), size_t(area), 0);
        total += ::pread(fd, tail.data(), 128, st.st_size - 128);
        ::close(fd);
    }
    return total;
}

qint64 tagReads(const QStringList &paths, bool fields)
{
    clsTAG tag;
    qint64 total = 0;
    for (const QString &path : paths) {
        tag.setFilePath(path);
        if (!fields)
            continue;
        for (const char *name : {"title", "artist", "album", "genre", "truckno", "encode", "year", "comment"})
            total += tag.ID3_DATA(QString::fromLatin1(name)).size() + tag.TAG1_DATA(QString::fromLatin1(name)).size();
    }
    return total;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int files = args.size() > 1 ? args[1].toInt() : 10000;
    const int fileSize = (args.size() > 2 ? args[2].toInt() : 64) * 1024;
    const int area = (args.size() > 3 ? args[3].toInt() : 4) * 1024;

    QTemporaryDir dir;
    QStringList paths;
    const QByteArray frames = Id3::textFrame("TIT2", "A title of some length") + Id3::textFrame("TPE1", "An artist")
                              + Id3::textFrame("TALB", "An album") + Id3::textFrame("TRCK", "7")
                              + Id3::textFrame("TYER", "2004") + Id3::textFrame("TCON", "Rock")
                              + Id3::frame("COMM", QByteArray("\0eng\0A comment", 14))
                              + Id3::frame("APIC", Id3::audio(1500, 2));
    const QByteArray tag = Id3::tag(frames, area - 10 - int(frames.size()));
    const QByteArray v1 = Id3::v1("A title", "An artist", "An album", "2004", "A comment", 17);
    const QByteArray audio = Id3::audio(fileSize - int(tag.size()) - 128);
    for (int i = 0; i < files; ++i) {
        paths << dir.filePath(QStringLiteral("%1.mp3").arg(i, 5, 10, QLatin1Char('0')));
        if (!Id3::write(paths.last(), tag + audio + v1))
            qFatal("cannot write %s", qPrintable(paths.last()));
    }
    plainReads(paths, area); // both runs read from the page cache

    // The machine is shared: every chunk of files is timed several times,
    // the three ways in turn, and the best time of each chunk counts.
    constexpr int Chunk = 500;
    const int chunks = (files + Chunk - 1) / Chunk;
    std::vector<qint64> plain(chunks, -1), loads(chunks, -1), full(chunks, -1);
    const auto keep = [](qint64 &best, qint64 value) { best = best < 0 ? value : std::min(best, value); };
    QElapsedTimer timer;
    for (int round = 0; round < 9; ++round) {
        for (int c = 0; c < chunks; ++c) {
            const QStringList part = paths.mid(c * Chunk, Chunk);
            timer.start();
            plainReads(part, area);
            keep(plain[c], timer.nsecsElapsed());
            timer.start();
            tagReads(part, false);
            keep(loads[c], timer.nsecsElapsed());
            timer.start();
            tagReads(part, true);
            keep(full[c], timer.nsecsElapsed());
        }
    }
    const qint64 bestPlain = std::accumulate(plain.begin(), plain.end(), qint64(0));
    const qint64 bestLoads = std::accumulate(loads.begin(), loads.end(), qint64(0));
    const qint64 bestTags = std::accumulate(full.begin(), full.end(), qint64(0));
    std::printf("files: %d of %d bytes, tag area %d bytes\n", files, fileSize, area);
    std::printf("plain reads: %.1f ms (%.2f us per file)\n", bestPlain / 1e6, bestPlain / 1e3 / files);
    std::printf("tag loads:   %.1f ms (%.2f us per file), %.2fx\n", bestLoads / 1e6, bestLoads / 1e3 / files,
                double(bestLoads) / double(bestPlain));
    std::printf("loads and 16 field reads: %.1f ms (%.2f us per file), %.2fx\n", bestTags / 1e6,
                bestTags / 1e3 / files, double(bestTags) / double(bestPlain));
    return 0;
}
