#include "platform/filesystem.h"

#include <cerrno>

// File systems that cannot do these report so, rather than pretending.

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
