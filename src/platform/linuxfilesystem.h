#pragma once

#include "platform/filesystem.h"

// FileSystem on Linux system calls (statx, renameat2).
class LinuxFileSystem : public FileSystem
{
public:
    FileInfo info(const QString &path) const override;
    bool exists(const QString &path) const override;
    qint64 folderSize(const QString &path) const override;
    FsStatus rename(const QString &from, const QString &to) override;
    FsStatus remove(const QString &path) override;
};
