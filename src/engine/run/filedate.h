#pragma once

#include "platform/fsstatus.h"

#include <QDateTime>

class FileSystem;
class FolderHandle;

// FileDate: setting one time-stamp of one file from a local date and time.

// The file time of a local date: 100-nanosecond steps since 1601-01-01 UTC.
// The date is read with the local offset in force at that date (summer or
// winter time of the date itself), so the file shows the time the list showed.
qint64 DateToFileTime(const QDateTime &date);

// Sets the creation time; the other times stay. The outcome is the caller's to
// count: a file system without a settable creation time is a failure.
FsStatus SetCreationTime(FileSystem &files, const QString &path, const QDateTime &date);
// Sets the last-write time to the second; the other times stay.
FsStatus SetLastWriteTime(FileSystem &files, const QString &path, const QDateTime &date);
// The same for the item name in an open folder.
FsStatus SetCreationTime(FileSystem &files, const FolderHandle &folder, const QString &name, const QDateTime &date);
FsStatus SetLastWriteTime(FileSystem &files, const FolderHandle &folder, const QString &name, const QDateTime &date);
