#pragma once

#include "platform/fileinfo.h"

#include <QString>
#include <QStringList>

#include <vector>

struct JobContext;
struct LoaderState;
class FileSystem;

// The paths a load collects, in collection order, and the names it had to
// leave out because they are not valid UTF-8 (shown with U+FFFD in place of
// the bytes that cannot be read): such a name could not be shown or renamed
// faithfully.
struct PathList
{
    // A collected item as its folder (one text shared by the items of a
    // folder) and its name; path is set only for an item taken as given.
    struct Item
    {
        QString folder;
        QString name;
        QString path;
    };

    std::vector<Item> items;
    QStringList unreadable;

    qsizetype size() const { return qsizetype(items.size()); }
    QString path(qsizetype index) const;
    QStringList paths() const;
    void append(const QString &path);
    void append(const QString &folder, QString name) { items.push_back({folder, std::move(name), {}}); }
};

// Appends the files at or below path: for a folder, everything below its first
// subfolder, then below the second, …, then its own files. Each folder's
// entries are taken sorted by name ignoring letter case, then exactly, so a
// load repeats on every file system. Sockets, devices and pipes are left out;
// symbolic links are listed as themselves and never followed. A path that
// cannot be read at all is shown in the error list and sets cancel. withLabel
// updates the count label every 100 paths. Returns at once while cancel is set.
void FileList_Sub(JobContext &context, LoaderState &state, const QString &path, PathList &list, bool withLabel,
                  bool &cancel, bool onlyTop);

// Appends folders: mode 1 the folder itself, mode 2 each of its immediate
// subfolders; any other mode nothing. Folders that cannot be read are skipped
// silently.
void FolderList_Sub(JobContext &context, LoaderState &state, const QString &path, PathList &list, bool withLabel,
                    bool &cancel, int mode);

// The item's attributes; exists is false where the original answers -1.
FileInfo SafeGetAttr(const FileSystem &files, const QString &path);

// The number of subfolders (links are not folders), or -1 when the folder
// cannot be read.
int SubFolderCount(const FileSystem &files, const QString &path);

// Sorts items low..high (0-based) ignoring letter case, and names that differ
// only in case exactly, so FindString can tell them apart.
void SortStrings(QStringList &items, int low, int high);

// The index of key in items low..high sorted by SortStrings, compared exactly;
// -1 when it is not there.
int FindString(const QString &key, const QStringList &items, int low, int high);

// The path made absolute against base (empty: the program's folder), for
// naming a folder in a message.
QString AbsolutePath(const QString &path, const QString &base);
