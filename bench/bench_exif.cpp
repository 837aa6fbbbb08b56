// Plans the replace with "<ExifDateTime>" on a folder of photos and, in the
// same run, has exiv2's own command-line tool read the same field from the
// same files. The two take turns; every round and the median ratio are printed.
// Usage: bench_exif [photos] [rounds]   (default 10000 5)

#include "engine/jobs/jobcontext.h"
#include "engine/jobs/replaceplanner.h"
#include "exifjpeg.h"
#include "platform/linuxfilesystem.h"
#include "platform/silentuserchannel.h"
#include "tags/exiv2reader.h"
#include "text/textengine.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// exiv2 reading DateTimeOriginal from every file, a thousand files a call;
// returns the values it printed.
int exiv2Reads(const QString &program, const QStringList &paths)
{
    int values = 0;
    for (qsizetype at = 0; at < paths.size(); at += 1000) {
        QProcess process;
        process.start(program, QStringList{QStringLiteral("-q"), QStringLiteral("-K"),
                                           QStringLiteral("Exif.Photo.DateTimeOriginal"), QStringLiteral("-Pv")}
                                   + paths.mid(at, 1000));
        process.waitForFinished(-1);
        values += int(process.readAllStandardOutput().count('\n'));
    }
    return values;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    const QString exiv2 = QStandardPaths::findExecutable(QStringLiteral("exiv2"));
    if (exiv2.isEmpty()) {
        std::printf("skipped: exiv2's command-line tool is not installed (Debian package exiv2)\n");
        return 0;
    }
    QTemporaryDir work;
    const QDateTime first(QDate(2024, 8, 15), QTime(10, 0));
    RenameRowList rows;
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("IMG_%1.jpg").arg(i, 5, 10, QLatin1Char('0'));
        const QByteArray moment = first.addSecs(i).toString(QStringLiteral("yyyy:MM:dd HH:mm:ss")).toLatin1();
        paths << work.filePath(name);
        ExifJpeg{"Canon", "Canon EOS R5", moment, moment, moment}.write(paths.last());
        RenameRow row = RenameRow::listed(work.path(), name, RenameRow::Unset, RenameRow::Unset, RenameRow::Unset);
        row.set(RenameField::Path, paths.last());
        rows.append(row);
    }
    std::printf("%d photos in %s\n", count, qPrintable(work.path()));

    SilentUserChannel user;
    LinuxFileSystem files;
    TextEngine text(user, files);
    Exiv2Reader exif;
    text.setExifReader(&exif);
    JobInputs inputs;
    inputs.searchText = QStringLiteral("^IMG_(\\d+)\\.jpg$");
    inputs.replaceText = QStringLiteral("format(<ExifDateTime>,\"yyyymmdd_hhnnss\")_$1.jpg");
    RunOptions options;
    JobContext context{rows, JobKind::FileNameReplace, inputs, options, user, files, text, true};

    std::vector<double> ratios;
    for (int round = 1; round <= rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        const PlanOutcome plan = PlanReplace(context);
        const double planned = timer.nsecsElapsed() / 1e6;
        timer.restart();
        const int read = exiv2Reads(exiv2, paths);
        const double tool = timer.nsecsElapsed() / 1e6;
        if (plan.changing != count || read != count || rows.field(1, RenameField::NewName) != u"20240815_100000_00000.jpg")
            std::printf("unexpected: %d planned, %d read by exiv2, first name %s\n", plan.changing, read,
                        qPrintable(rows.field(1, RenameField::NewName)));
        ratios.push_back(planned / tool);
        std::printf("round %d: Try %.1f ms, exiv2 %.1f ms, ratio %.2f\n", round, planned, tool, ratios.back());
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("median ratio Try / exiv2: %.2f\n", ratios[ratios.size() / 2]);
    return 0;
}
