#include "platform/systempaths.h"

#include "platform/textfile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QString &programFolderValue()
{
    static QString folder;
    return folder;
}

QString homeFolder()
{
    return QDir::homePath();
}

QString configHome()
{
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    return xdg.isEmpty() ? homeFolder() + QStringLiteral("/.config") : xdg;
}

// A portable copy keeps its settings beside it: only in a folder of the user's
// own that nobody else can write to, and never for root, whose programs live
// in system folders.
bool isPortableFolder(const QString &folder)
{
    const QByteArray name = QFile::encodeName(folder);
    struct stat status {};
    const uid_t user = ::geteuid();
    return user != 0 && ::stat(name.constData(), &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == user
           && !(status.st_mode & (S_IWGRP | S_IWOTH)) && ::access(name.constData(), W_OK) == 0;
}

// Reads XDG_DESKTOP_DIR="$HOME/…" from user-dirs.dirs.
QString desktopFromUserDirs()
{
    QString text;
    if (!TextFile::read(configHome() + QStringLiteral("/user-dirs.dirs"), &text))
        return {};
    static const QRegularExpression line(QStringLiteral("^\\s*XDG_DESKTOP_DIR\\s*=\\s*\"([^\"]*)\""),
                                         QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(text);
    if (!match.hasMatch())
        return {};
    QString folder = match.captured(1);
    folder.replace(QStringLiteral("$HOME"), homeFolder());
    return folder;
}

} // namespace

QString SystemPaths::programFolder()
{
    const QString &folder = programFolderValue();
    return folder.isEmpty() ? QDir::currentPath() : folder;
}

void SystemPaths::setProgramFolder(const QString &folder)
{
    programFolderValue() = QDir::cleanPath(folder);
}

QString SystemPaths::settingsFolder()
{
    const QString chosen = qEnvironmentVariable("CORVANE_SETTINGS_DIR");
    if (!chosen.isEmpty()) {
        QDir().mkpath(chosen);
        return QDir::cleanPath(chosen);
    }
    const QString beside = programFolder();
    if (isPortableFolder(beside))
        return beside;
    const QString folder = configHome() + QStringLiteral("/corvane");
    QDir().mkpath(configHome());
    ::mkdir(QFile::encodeName(folder).constData(), 0700);
    return folder;
}

QString SystemPaths::partsFolder()
{
    const QString beside = programFolder() + QStringLiteral("/parts");
    if (QFileInfo(beside).isDir())
        return beside;
    // Installed, the data folder lies where the install rules put it relative to
    // the program, so a package under /usr and a copy under ~/.local both find it.
    return QDir::cleanPath(programFolder() + QStringLiteral("/" CORVANE_DATA_FROM_PROGRAM "/parts"));
}

QString SystemPaths::desktopFolder()
{
    const QString fromUserDirs = desktopFromUserDirs();
    if (!fromUserDirs.isEmpty() && QFileInfo(fromUserDirs).isDir())
        return QDir::cleanPath(fromUserDirs);
    const QString desktop = homeFolder() + QStringLiteral("/Desktop");
    if (QFileInfo(desktop).isDir())
        return desktop;
    return homeFolder();
}
