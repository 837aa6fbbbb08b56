#include "app/commandline.h"
#include "app/startup.h"
#include "engine/control/jobcontroller.h"
#include "engine/run/journalrecovery.h"
#include "persist/conffile.h"
#include "persist/settingsfile.h"
#include "platform/consoleuserchannel.h"
#include "platform/linuxfilesystem.h"
#include "platform/systempaths.h"
#include "ui/frmmain.h"
#include "ui/qtdesktopservices.h"
#include "ui/qtuserchannel.h"
#include "ui/rowlistview.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTimer>
#include <QTranslator>

#include <cstdio>

namespace {

bool hasDisplay()
{
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
        || qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
}

QStringList argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int at = 1; at < argc; ++at)
        arguments << QString::fromLocal8Bit(argv[at]);
    return arguments;
}

// Conf.txt over the defaults, applied to the controller; a window takes the rest.
void loadSettings(SettingsFile &file, JobController &controller, const Settings &defaults)
{
    file.load(defaults, controller.user());
    controller.applySettings(file.settings());
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
    loadSettings(settings, controller, Settings::defaults(QSize(1024, 768)));
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

int runWindowed(int argc, char **argv, const CommandLine &line)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvane"));
    QApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("corvane"));
    SystemPaths::setProgramFolder(QCoreApplication::applicationDirPath());
    // Qt's own dialogs and standard buttons in the user's language.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexts);

    QtUserChannel user;
    LinuxFileSystem files;
    QtDesktopServices desktop;
    JobController controller(user, files, &desktop);
    controller.setJournalPath(RunJournal::defaultPath());
    controller.setDebug(line.debug());
    SettingsFile settings(ConfPath());
    frmMain window(controller, user, settings, line.debug());
    window.showRunsIn(user);
    const QFont listFont = window.listV()->font();
    loadSettings(settings, controller,
                 Settings::defaults(window.screen()->size(), listFont.family(), listFont.pointSizeF()));
    window.applySettings();

    StartUp startUp(controller, line);
    const StartUp::Outcome outcome = startUp.run([&window] { window.show(); });
    if (outcome == StartUp::Outcome::Quit)
        QTimer::singleShot(100, &app, &QCoreApplication::quit);
    return app.exec();
}

} // namespace

int main(int argc, char **argv)
{
    const CommandLine line = CommandLine::parse(argumentsOf(argc, argv));
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
    return runWindowed(argc, argv, line);
}
