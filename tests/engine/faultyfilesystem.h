#pragma once

#include "platform/journalfile.h"
#include "platform/linuxfilesystem.h"
#include "platform/pathtext.h"

#include <QFile>
#include <QStringList>

#include <cerrno>
#include <functional>

// The real file system with chosen calls made to fail, and a watch on every
// rename: should one ever replace an existing item, replacedSomething is set.
// The hooks see full paths, whether the call named a path or an open folder.
class FaultyFileSystem : public LinuxFileSystem
{
public:
    // Returns an error number for a rename that must fail, 0 to let it run.
    std::function<int(const QString &from, const QString &to)> renameFault;
    // The same for setting a time in a folder of a run.
    std::function<int(const QString &path)> timeFault;

    QStringList renames;          // every rename asked for, "from -> to"
    bool replacedSomething = false;
    // Refuse RENAME_NOREPLACE as NTFS through ntfs-3g does, and hard links
    // too as FAT through FUSE, GVFS and sshfs do; count how often each was tried.
    bool refuseNoReplace = false;
    bool refuseLinks = false;
    int noReplaceTries = 0;
    int linkTries = 0;

    FsStatus rename(const QString &from, const QString &to) override
    {
        if (const int error = faultOf(from, to))
            return FsStatus::fromErrno(error);
        const bool targetThere = exists(to);
        return watched(LinuxFileSystem::rename(from, to), targetThere);
    }

    // Items removed just before they are read in a folder, as if by another program.
    QStringList vanishing;

    FileInfo infoIn(const FolderHandle &folder, const QString &name) const override
    {
        if (vanishing.contains(JoinPath(folder.path(), name)))
            QFile::remove(JoinPath(folder.path(), name));
        return LinuxFileSystem::infoIn(folder, name);
    }

    FsStatus renameIn(FolderHandle &folder, const QString &from, const QString &to) override
    {
        if (const int error = faultOf(JoinPath(folder.path(), from), JoinPath(folder.path(), to)))
            return FsStatus::fromErrno(error);
        const bool targetThere = existsIn(folder, to);
        return watched(LinuxFileSystem::renameIn(folder, from, to), targetThere);
    }

    FsStatus setModifiedTimeIn(const FolderHandle &folder, const QString &name, const QDateTime &time) override
    {
        if (const int error = timeFault ? timeFault(JoinPath(folder.path(), name)) : 0)
            return FsStatus::fromErrno(error);
        return LinuxFileSystem::setModifiedTimeIn(folder, name, time);
    }

protected:
    int renameNoReplace(int fromFolder, const char *from, int toFolder, const char *to) override
    {
        ++noReplaceTries;
        return refuseNoReplace ? EINVAL : LinuxFileSystem::renameNoReplace(fromFolder, from, toFolder, to);
    }

    int hardLink(int fromFolder, const char *from, int toFolder, const char *to) override
    {
        ++linkTries;
        return refuseLinks ? EPERM : LinuxFileSystem::hardLink(fromFolder, from, toFolder, to);
    }

private:
    int faultOf(const QString &from, const QString &to)
    {
        renames << from + QStringLiteral(" -> ") + to;
        return renameFault ? renameFault(from, to) : 0;
    }

    FsStatus watched(const FsStatus &status, bool targetThere)
    {
        if (status.ok() && targetThere)
            replacedSomething = true;
        return status;
    }
};

// A journal whose failAt-th write (counted from 1) fails; once dead, as after
// a kill, nothing more reaches it.
class FaultyJournalFile : public JournalFile
{
public:
    int failAt = 0;
    int writes = 0;
    bool dead = false;

protected:
    bool write(const QByteArray &bytes) override
    {
        if (dead || ++writes == failAt) {
            errno = EIO;
            return false;
        }
        return JournalFile::write(bytes);
    }
};
