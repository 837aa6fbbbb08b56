#include "engine/run/filedate.h"

#include "platform/filesystem.h"

namespace {

constexpr qint64 secondsFrom1601To1970 = 11644473600;
constexpr qint64 ticksPerSecond = 10000000;

QDateTime momentOf(qint64 fileTime)
{
    return QDateTime::fromSecsSinceEpoch(fileTime / ticksPerSecond - secondsFrom1601To1970, Qt::UTC);
}

} // namespace

qint64 DateToFileTime(const QDateTime &date)
{
    const QDateTime local(date.date(), QTime(date.time().hour(), date.time().minute(), date.time().second()),
                          Qt::LocalTime);
    return (local.toSecsSinceEpoch() + secondsFrom1601To1970) * ticksPerSecond;
}

FsStatus SetCreationTime(FileSystem &files, const QString &path, const QDateTime &date)
{
    return files.setCreatedTime(path, momentOf(DateToFileTime(date)));
}

FsStatus SetLastWriteTime(FileSystem &files, const QString &path, const QDateTime &date)
{
    return files.setModifiedTime(path, momentOf(DateToFileTime(date)));
}

FsStatus SetCreationTime(FileSystem &files, const FolderHandle &folder, const QString &name, const QDateTime &date)
{
    return files.setCreatedTimeIn(folder, name, momentOf(DateToFileTime(date)));
}

FsStatus SetLastWriteTime(FileSystem &files, const FolderHandle &folder, const QString &name, const QDateTime &date)
{
    return files.setModifiedTimeIn(folder, name, momentOf(DateToFileTime(date)));
}
