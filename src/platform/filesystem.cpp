#include "platform/filesystem.h"

#include "platform/pathtext.h"

#include <cerrno>

// File systems that cannot do these report so, rather than pretending.

QString FileSystem::linkTarget(const QString &path) const
{
    return path;
}

bool FileSystem::leadsToFolder(const QString &path) const
{
    const FileInfo item = info(path);
    if (!item.isSymLink)
        return item.isFolder;
    const QString target = linkTarget(path);
    return !target.isEmpty() && info(target).isFolder;
}

bool FileSystem::listFolder(const QString &, std::vector<FolderEntry> *entries) const
{
    entries->clear();
    return false;
}

FsStatus FileSystem::setModifiedTime(const QString &, const QDateTime &)
{
    return FsStatus::fromErrno(ENOTSUP);
}

FsStatus FileSystem::setCreatedTime(const QString &, const QDateTime &)
{
    return FsStatus::fromErrno(ENOTSUP);
}

FsStatus FileSystem::createdTimeSupport(const QString &) const
{
    return FsStatus::fromErrno(ENOTSUP);
}

FolderHandle FileSystem::openFolder(const QString &path) const
{
    return FolderHandle(path, -1);
}

FileInfo FileSystem::infoIn(const FolderHandle &folder, const QString &name) const
{
    return info(JoinPath(folder.path(), name));
}

bool FileSystem::existsIn(const FolderHandle &folder, const QString &name) const
{
    return exists(JoinPath(folder.path(), name));
}

FsStatus FileSystem::renameIn(FolderHandle &folder, const QString &from, const QString &to)
{
    return rename(JoinPath(folder.path(), from), JoinPath(folder.path(), to));
}

FsStatus FileSystem::setModifiedTimeIn(const FolderHandle &folder, const QString &name, const QDateTime &time)
{
    return setModifiedTime(JoinPath(folder.path(), name), time);
}

FsStatus FileSystem::setCreatedTimeIn(const FolderHandle &folder, const QString &name, const QDateTime &time)
{
    return setCreatedTime(JoinPath(folder.path(), name), time);
}
