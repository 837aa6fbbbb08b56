#pragma once

#include "platform/fileinfo.h"
#include "platform/folderhandle.h"
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
    // Moves an item to a new path. Never replaces an existing item, and where
    // the file system allows, not even one another process creates at the same
    // moment; where it does not, the target is found free just before.
    virtual FsStatus rename(const QString &from, const QString &to) = 0;
    virtual FsStatus remove(const QString &path) = 0;
    // The path with every link in it resolved; empty when it leads nowhere.
    virtual QString linkTarget(const QString &path) const;
    // A folder, or a link that leads to one.
    bool leadsToFolder(const QString &path) const;
    // A folder whose items this user may list and look at.
    virtual bool canListFolder(const QString &path) const { return leadsToFolder(path); }

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

    // The folder at path, to work on many of its items: the calls below name
    // an item inside it, and keep working however long the path is and
    // wherever the folder is moved meanwhile. Where it cannot be opened, the
    // handle holds the reason. Here the handle keeps the path alone, and the
    // calls below take the full paths of their items.
    virtual FolderHandle openFolder(const QString &path) const;
    virtual FileInfo infoIn(const FolderHandle &folder, const QString &name) const;
    virtual bool existsIn(const FolderHandle &folder, const QString &name) const;
    // Never replaces an item, as rename. The handle keeps what the first rename
    // in the folder learnt about its file system.
    virtual FsStatus renameIn(FolderHandle &folder, const QString &from, const QString &to);
    virtual FsStatus setModifiedTimeIn(const FolderHandle &folder, const QString &name, const QDateTime &time);
    virtual FsStatus setCreatedTimeIn(const FolderHandle &folder, const QString &name, const QDateTime &time);
};
