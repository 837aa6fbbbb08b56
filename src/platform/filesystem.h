#pragma once

#include "platform/fileinfo.h"
#include "platform/fsstatus.h"

#include <QString>

// The file-system calls Corvane makes. The engine only goes through this
// interface, so tests can put a layer in between that injects failures.
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    virtual FileInfo info(const QString &path) const = 0;
    virtual bool exists(const QString &path) const = 0;
    // The total size of everything below a folder; links are not followed.
    virtual qint64 folderSize(const QString &path) const = 0;
    // Moves an item to a new path. Never replaces an existing item, not even
    // when another process creates one at the same moment.
    virtual FsStatus rename(const QString &from, const QString &to) = 0;
    virtual FsStatus remove(const QString &path) = 0;
};
