// Replaces per second of RegReplace over 100,000 distinct names: once with one
// fixed replacement, once with a replacement that differs on every row, and
// the whole per-row path of a Try (sub-matches, template, replace).
#include "platform/consoleuserchannel.h"
#include "platform/linuxfilesystem.h"
#include "text/textengine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <cstdio>
#include <ctime>

namespace {

constexpr int rows = 100000;

QStringList names()
{
    QStringList result;
    result.reserve(rows);
    for (int i = 0; i < rows; ++i)
        result.append(QStringLiteral("holiday photo %1.jpg").arg(i));
    return result;
}

// CPU time of this thread: on a shared machine wall time also counts the
// time other programs had the processor.
double cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + now.tv_nsec / 1e9;
}

double cpuStart = 0;

void report(const char *what, qint64 nanoseconds, qsizetype checksum)
{
    const double seconds = nanoseconds / 1e9;
    const double cpu = cpuSeconds() - cpuStart;
    std::printf("%-42s wall %6.3f s %9.0f/s   cpu %6.3f s %9.0f/s   (checksum %lld)\n", what, seconds,
                rows / seconds, cpu, rows / cpu, static_cast<long long>(checksum));
}

}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ConsoleUserChannel user;
    LinuxFileSystem files;
    TextEngine engine(user, files);
    const QStringList subjects = names();
    const QString pattern = QStringLiteral("(\\d+)");

    QElapsedTimer timer;
    qsizetype checksum = 0;
    timer.start();
    cpuStart = cpuSeconds();
    const QString fixed = QStringLiteral("<format($1,\"000000\")>");
    for (const QString &subject : subjects)
        checksum += engine.RegReplace(subject, pattern, fixed, true).size();
    report("RegReplace, fixed replacement", timer.nsecsElapsed(), checksum);

    checksum = 0;
    timer.restart();
    cpuStart = cpuSeconds();
    const QString plain = QStringLiteral("[$1]");
    for (const QString &subject : subjects)
        checksum += engine.RegReplace(subject, pattern, plain, true).size();
    report("RegReplace, no format token", timer.nsecsElapsed(), checksum);

    checksum = 0;
    timer.restart();
    cpuStart = cpuSeconds();
    for (int i = 0; i < rows; ++i) {
        const QString replacement = QStringLiteral("<format($1,\"000000\")>_%1").arg(i);
        checksum += engine.RegReplace(subjects[i], pattern, replacement, true).size();
    }
    report("RegReplace, replacement differs per row", timer.nsecsElapsed(), checksum);

    checksum = 0;
    timer.restart();
    cpuStart = cpuSeconds();
    const QString search = QStringLiteral("photo (\\d+)");
    const QString typed = QStringLiteral("$1_Row()");
    for (int i = 0; i < rows; ++i) {
        const QString filled = engine.ExpandSubMatches(subjects[i], search, typed, true);
        const QString replacement = engine.ExpandTemplate(filled, i + 1, QString());
        checksum += engine.RegReplace(subjects[i], search, replacement, true).size();
    }
    report("Try path: sub-matches, template, replace", timer.nsecsElapsed(), checksum);
    return 0;
}
