#pragma once

#include "platform/fileinfo.h"
#include "platform/fsstatus.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <vector>

// One entry of a folder as the file system names it: the raw bytes of the
// name (Linux allows any bytes but "/" and NUL) and what kind of item it is.
// A symbolic link is a link, whatever it points to.
struct FolderEntry
{
    enum class Kind { File, Folder, SymLink, System };

    QByteArray name;
    Kind kind = Kind::File;
};

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

    // The entries of a folder without "." and "..", in no particular order.
    // False when the folder cannot be opened or read to its end.
    virtual bool listFolder(const QString &path, std::vector<FolderEntry> *entries) const;
    // Sets the last-write time to the second; creation and access times stay.
    // Fails for an item its owner may not write. Links are not followed.
    virtual FsStatus setModifiedTime(const QString &path, const QDateTime &time);
    // Sets the creation time where the file system keeps a settable one;
    // elsewhere fails with the reason. Links are not followed.
    virtual FsStatus setCreatedTime(const QString &path, const QDateTime &time);
    // Whether setCreatedTime can work on the file system that holds path,
    // asked without changing anything; fails with the reason where it cannot.
    virtual FsStatus createdTimeSupport(const QString &path) const;
};
