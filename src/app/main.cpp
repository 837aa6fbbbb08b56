#include "engine/renamerowlist.h"
#include "platform/systempaths.h"
#include "ui/frmmain.h"
#include "ui/qtuserchannel.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>

namespace {

bool hasDisplay()
{
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
        || qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
}

bool hasArgument(int argc, char **argv, const char *name)
{
    for (int at = 1; at < argc; ++at) {
        if (qstricmp(argv[at], name) == 0)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    if (hasArgument(argc, argv, "--version")) {
        std::printf("Corvane %s\n", CORVANE_VERSION);
        return 0;
    }
    if (!hasDisplay()) {
        std::fputs("corvane: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                   "Start Corvane inside a desktop session.\n", stderr);
        return 2;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvane"));
    QApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));
    SystemPaths::setProgramFolder(QCoreApplication::applicationDirPath());

    bool debug = false;
    for (const QString &argument : QCoreApplication::arguments())
        debug = debug || argument.contains(QStringLiteral("-debug"), Qt::CaseInsensitive);

    RenameRowList rows;
    QtUserChannel user;
    frmMain window(rows, user, debug);
    window.show();
    return app.exec();
}
