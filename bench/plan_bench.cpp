// Times Try on a large list: numbering, time-stamps and the collision check
// of a replace run whose planned names all differ.
#include "engine/jobs/collisioncheck.h"
#include "engine/jobs/jobcontext.h"
#include "engine/jobs/numberingplanner.h"
#include "engine/jobs/timestampplanner.h"
#include "platform/consoleuserchannel.h"
#include "platform/linuxfilesystem.h"
#include "text/textengine.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <functional>

namespace {

RenameRowList makeRows(int count)
{
    std::vector<RenameRow> rows(static_cast<std::size_t>(count));
    for (int at = 0; at < count; ++at) {
        RenameRow &row = rows[static_cast<std::size_t>(at)];
        row.set(RenameField::CurrentName, QStringLiteral("IMG_%1.jpg").arg(at + 1));
        row.set(RenameField::NewName, row[RenameField::CurrentName]);
        row.set(RenameField::Folder, QStringLiteral("/dev/shm/photos"));
    }
    RenameRowList list;
    list.replaceAll(std::move(rows));
    return list;
}

void report(const char *what, int count, const std::function<void()> &run)
{
    QElapsedTimer timer;
    timer.start();
    run();
    std::printf("%-28s %7d rows  %8.1f ms\n", what, count, timer.nsecsElapsed() / 1e6);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;

    ConsoleUserChannel user;
    LinuxFileSystem files;
    TextEngine text(user, files);
    RunOptions options;
    JobInputs inputs;
    inputs.baseName = QStringLiteral("photo");
    inputs.digits = QStringLiteral("6");
    inputs.baseDate = QDate(2024, 1, 1);
    inputs.stepMinutes = QStringLiteral("1");

    RenameRowList rows = makeRows(count);
    report("collision check", count, [&] { CollidingRows(rows); });

    JobContext numbering{rows, JobKind::Numbering, inputs, options, user, files, text, true};
    report("numbering Try", count, [&] { PlanNumbering(numbering); });

    JobContext stamps{rows, JobKind::CreatedDate, inputs, options, user, files, text, true};
    report("time-stamp Try", count, [&] { PlanTimeStamps(stamps); });
    return 0;
}
