#include "app/commandline.h"
#include "app/startup.h"
#include "app/windowedrun.h"
#include "engine/control/jobcontroller.h"
#include "engine/run/journalrecovery.h"
#include "persist/conffile.h"
#include "persist/settingsfile.h"
#include "platform/consoleuserchannel.h"
#include "platform/linuxfilesystem.h"
#include "platform/ownfile.h"
#include "platform/systempaths.h"

#include <QCoreApplication>

#include <cstdio>
#include <dlfcn.h>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

bool hasDisplay()
{
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
        || qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
}

// -auto -quit: no window and no display; messages go to stderr and every
// question gets its safe answer.
int runHeadless(int argc, char **argv, const CommandLine &line)
{
    QCoreApplication app(argc, argv);
    SystemPaths::setProgramFolder(QCoreApplication::applicationDirPath());
    ConsoleUserChannel::stopOnSignals();
    ConsoleUserChannel user;
    LinuxFileSystem files;
    JobController controller(user, files);
    controller.setJournalPath(RunJournal::defaultPath());
    // What each command did, with counts, as the window's status bar says it.
    QObject::connect(&controller, &JobController::outcomeReported,
                     [&user](const QString &text) { user.showStatus(text, 0, false); });
    // Read only: a run without a window keeps no settings of its own.
    SettingsFile settings(ConfPath());
    settings.load(Settings::defaults(QSize(1024, 768)), controller.user());
    controller.applySettings(settings.settings());
    StartUp startUp(controller, line);
    return StartUp::exitCode(startUp.run([] {}));
}

// -undo: the names before the last run, from its journal; no display needed.
int runUndo(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    SystemPaths::setProgramFolder(QCoreApplication::applicationDirPath());
    ConsoleUserChannel::stopOnSignals();
    ConsoleUserChannel user;
    LinuxFileSystem files;
    JournalRecovery recovery(files, user, RunJournal::defaultPath());
    const JournalRecovery::Outcome outcome = recovery.undo();
    for (const QString &line : recovery.failures())
        std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    switch (outcome) {
    case JournalRecovery::Outcome::Nothing:
        std::fputs("corvane: there is nothing to undo.\n", stderr);
        return 2;
    case JournalRecovery::Outcome::Done:
        return 0;
    case JournalRecovery::Outcome::Partly:
        break;
    }
    return 1;
}

// The window lives in a module of its own: beside the program, or where the
// install rules put it relative to the program. Like Corvane's own files, a
// module that others could have planted or changed is refused, and the file
// checked is the very file loaded.
int runWindowed(int argc, char **argv)
{
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
    if (!folder.is_absolute()) {
        std::fputs("corvane: the program's folder is unknown, so its window module cannot be found.\n", stderr);
        return 1;
    }
    QString refusals;
    for (const std::filesystem::path &place : {folder / CORVANE_WINDOW_MODULE,
                                               folder / CORVANE_WINDOW_FROM_PROGRAM / CORVANE_WINDOW_MODULE}) {
        QString refusal;
        const int fd = OwnFile::openProgramPart(QString::fromStdString(place.lexically_normal()), &refusal);
        if (!refusal.isEmpty())
            refusals += refusal + u'\n';
        if (fd < 0)
            continue;
        void *module = dlopen(("/proc/self/fd/" + std::to_string(fd)).c_str(), RTLD_NOW | RTLD_LOCAL);
        ::close(fd);
        const auto run = module ? reinterpret_cast<int (*)(int, char **)>(dlsym(module, "corvane_run_windowed")) : nullptr;
        if (run)
            return run(argc, argv);
        refusals += QString::fromLocal8Bit(dlerror()) + u'\n';
    }
    std::fprintf(stderr, "corvane: the window module %s could not be loaded.\n%s", CORVANE_WINDOW_MODULE,
                 refusals.toLocal8Bit().constData());
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    const CommandLine line = CommandLine::parse(CommandLine::argumentsOf(argc, argv));
    if (line.help()) {
        std::fputs(CommandLine::usage().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (line.version()) {
        std::printf("Corvane %s\n", CORVANE_VERSION);
        return 0;
    }
    if (line.undo())
        return runUndo(argc, argv);
    if (line.unattended() && line.quit())
        return runHeadless(argc, argv, line);
    if (!hasDisplay()) {
        std::fputs("corvane: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                   "Start Corvane inside a desktop session, or run a job unattended with -auto -quit.\n",
                   stderr);
        return 2;
    }
    return runWindowed(argc, argv);
}
