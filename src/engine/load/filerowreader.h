#pragma once

#include "engine/load/filelist.h"
#include "engine/rows/renamerow.h"

#include <QDateTime>
#include <QString>

class FileSystem;
class FolderHandles;
struct FileInfo;

// Reads the rows of one load.
class FileRowReader
{
public:
    explicit FileRowReader(const FileSystem &files);

    // Reads one file or folder into a fresh row: both name columns, the two
    // dates, the size (of a folder: everything inside it), the folder and the
    // path. False when the item cannot be read; *row is then untouched.
    bool read(const QString &path, RenameRow *row);
    // The same for one of many items, read relative to their open folders.
    // Reading no facts, it lists the item as the folder listing found it.
    bool read(FolderHandles &folders, const PathList::Item &item, RenameRow *row);
    // Whether read() takes the dates and size of listed items from the disk.
    void setReadsFacts(bool on) { m_readsFacts = on; }
    // Reads the dates and size of a row listed without them; false when its
    // item is gone, and then they stay empty.
    bool readFacts(FolderHandles &folders, RenameRow *row);
    bool readFacts(RenameRow *row);

private:
    // A null path is the folder joined with the name.
    bool fill(const QString &path, const QString &folder, const QString &name, const FileInfo &item, RenameRow *row);

    qint64 sizeOf(const FileInfo &item, const QString &path) const;
    bool takeFacts(const FileInfo &item, RenameRow *row) const;

    const FileSystem &m_files;
    bool m_readsFacts = true;
};
