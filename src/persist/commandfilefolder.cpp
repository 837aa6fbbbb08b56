#include "persist/commandfilefolder.h"

#include "platform/systempaths.h"

#include <QDir>
#include <QFileInfo>

QString CommandFileFolder(const QString &initDir)
{
    if (!initDir.isEmpty() && QFileInfo(initDir).isDir())
        return initDir;
    return SystemPaths::settingsFolder();
}

QStringList CommandFileNames(const QString &folder)
{
    if (folder.isEmpty())
        return {};
    return QDir(folder).entryList({QStringLiteral("*.dat")}, QDir::Files | QDir::Hidden,
                                  QDir::Name | QDir::IgnoreCase);
}
