#include "app/commandline.h"
#include "app/startup.h"
#include "app/windowedrun.h"
#include "engine/control/jobcontroller.h"
#include "persist/conffile.h"
#include "persist/settingsfile.h"
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

int corvane_run_windowed(int argc, char **argv)
{
    const CommandLine line = CommandLine::parse(CommandLine::argumentsOf(argc, argv));
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
    const Settings defaults = Settings::defaults(window.screen()->size(), listFont.family(), listFont.pointSizeF());
    settings.load(defaults, controller.user());
    controller.applySettings(settings.settings());
    window.applySettings();

    StartUp startUp(controller, line);
    const StartUp::Outcome outcome = startUp.run([&window] { window.show(); });
    if (outcome == StartUp::Outcome::Quit)
        QTimer::singleShot(100, &app, &QCoreApplication::quit);
    return app.exec();
}
