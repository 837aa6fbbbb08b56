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

void report(const char *what, qint64 nanoseconds, qsizetype checksum)
{
    const double seconds = nanoseconds / 1e9;
    std::printf("%-44s %8.3f s  %10.0f per second  (checksum %lld)\n", what, seconds, rows / seconds,
                static_cast<long long>(checksum));
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
    const QString fixed = QStringLiteral("<format($1,\"000000\")>");
    for (const QString &subject : subjects)
        checksum += engine.RegReplace(subject, pattern, fixed, true).size();
    report("RegReplace, fixed replacement", timer.nsecsElapsed(), checksum);

    checksum = 0;
    timer.restart();
    const QString plain = QStringLiteral("[$1]");
    for (const QString &subject : subjects)
        checksum += engine.RegReplace(subject, pattern, plain, true).size();
    report("RegReplace, no format token", timer.nsecsElapsed(), checksum);

    checksum = 0;
    timer.restart();
    for (int i = 0; i < rows; ++i) {
        const QString replacement = QStringLiteral("<format($1,\"000000\")>_%1").arg(i);
        checksum += engine.RegReplace(subjects[i], pattern, replacement, true).size();
    }
    report("RegReplace, replacement differs per row", timer.nsecsElapsed(), checksum);

    checksum = 0;
    timer.restart();
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
