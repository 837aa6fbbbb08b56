#pragma once

#include "engine/rows/renamerow.h"

#include <QDateTime>
#include <QString>

#include <ctime>

class FileSystem;
class FolderHandles;
struct FileInfo;

// Reads the rows of one load. The time zone is taken once, when the reader
// is made, and files saved at the same second share one date text, so that
// 100,000 rows cost no time-zone look-up each.
class FileRowReader
{
public:
    explicit FileRowReader(const FileSystem &files);

    // Reads one file or folder into a fresh row: both name columns, the two
    // dates, the size (of a folder: everything inside it), the folder and the
    // path. False when the item cannot be read; *row is then untouched.
    bool read(const QString &path, RenameRow *row);
    // The same for one of many items, read relative to their open folders.
    bool read(FolderHandles &folders, const QString &path, RenameRow *row);

private:
    bool fill(const QString &path, const QString &folder, const QString &name, const FileInfo &item, RenameRow *row);
    QString dateText(const QDateTime &time);

    const FileSystem &m_files;
    time_t m_lastSeconds = 0;
    QString m_lastText;
};
