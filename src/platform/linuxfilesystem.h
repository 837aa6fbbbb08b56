#pragma once

#include "platform/filesystem.h"

// FileSystem on Linux system calls (statx, renameat2, utimensat, extended attributes),
// relative to open folders where paths are long or many items share a folder.
class LinuxFileSystem : public FileSystem
{
public:
    FileInfo info(const QString &path) const override;
    bool exists(const QString &path) const override;
    qint64 folderSize(const QString &path) const override;
    FsStatus rename(const QString &from, const QString &to) override;
    FsStatus remove(const QString &path) override;
    QString linkTarget(const QString &path) const override;
    bool canListFolder(const QString &path) const override;
    bool listFolder(const QString &path, std::vector<FolderEntry> *entries) const override;
    FsStatus setModifiedTime(const QString &path, const QDateTime &time) override;
    // Through the attribute ntfs-3g ("system.ntfs_crtime") or an SMB mount
    // ("user.cifs.creationtime") offers for it; no other Linux file system has one.
    FsStatus setCreatedTime(const QString &path, const QDateTime &time) override;
    FsStatus createdTimeSupport(const QString &path) const override;

    FolderHandle openFolder(const QString &path) const override;
    FileInfo infoIn(const FolderHandle &folder, const QString &name) const override;
    bool existsIn(const FolderHandle &folder, const QString &name) const override;
    FsStatus renameIn(FolderHandle &folder, const QString &from, const QString &to) override;
    FsStatus setModifiedTimeIn(const FolderHandle &folder, const QString &name, const QDateTime &time) override;
    FsStatus setCreatedTimeIn(const FolderHandle &folder, const QString &name, const QDateTime &time) override;

protected:
    // The two renames that cannot replace anything, each returning 0 or the
    // error number; apart so that a test can refuse them as FAT through FUSE does.
    virtual int renameNoReplace(int fromFolder, const char *from, int toFolder, const char *to);
    virtual int hardLink(int fromFolder, const char *from, int toFolder, const char *to);

private:
    FsStatus renameAt(int fromFolder, const char *from, int toFolder, const char *to, FolderHandle::Refusals &refused);
    FsStatus changeCaseInSteps(int folder, const char *from, const char *to, FolderHandle::Refusals &refused);
    FsStatus renameUnlessTaken(int fromFolder, const char *from, int toFolder, const char *to,
                               FolderHandle::Refusals &refused);
};
