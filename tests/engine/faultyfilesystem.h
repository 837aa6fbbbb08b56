#pragma once

#include "platform/linuxfilesystem.h"

#include <QStringList>

#include <functional>

// The real file system with chosen calls made to fail, and a watch on every
// rename: should one ever replace an existing item, replacedSomething is set.
class FaultyFileSystem : public LinuxFileSystem
{
public:
    // Returns an error number for a rename that must fail, 0 to let it run.
    std::function<int(const QString &from, const QString &to)> renameFault;
    // The same for setting a time.
    std::function<int(const QString &path)> timeFault;

    QStringList renames;          // every rename asked for, "from -> to"
    bool replacedSomething = false;

    FsStatus rename(const QString &from, const QString &to) override
    {
        renames << from + QStringLiteral(" -> ") + to;
        if (renameFault) {
            if (const int error = renameFault(from, to))
                return FsStatus::fromErrno(error);
        }
        const bool targetThere = exists(to);
        const FsStatus status = LinuxFileSystem::rename(from, to);
        if (status.ok() && targetThere)
            replacedSomething = true;
        return status;
    }

    FsStatus setModifiedTime(const QString &path, const QDateTime &time) override
    {
        if (timeFault) {
            if (const int error = timeFault(path))
                return FsStatus::fromErrno(error);
        }
        return LinuxFileSystem::setModifiedTime(path, time);
    }
};
