#include "persist/commandfilefolder.h"

#include "platform/filesystem.h"
#include "platform/messagerequest.h"
#include "platform/pathtext.h"
#include "platform/showmessage.h"
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

bool DeleteCommandFile(UserChannel &user, FileSystem &files, const QString &folder, const QString &name)
{
    const QString title = QStringLiteral("ファイル削除");
    const int answer = ShowMessage(user, name + QStringLiteral(" を削除してよろしいですか？"),
                                   MessageStyle::OkCancel, title);
    if (answer != MessageAnswer::Ok)
        return false;
    const FsStatus status = files.remove(JoinPath(folder, name));
    if (!status.ok()) {
        ShowMessage(user, status.text(), MessageStyle::OkOnly, title);
        return false;
    }
    return true;
}
