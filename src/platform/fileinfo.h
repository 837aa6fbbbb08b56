#pragma once

#include <QDateTime>
#include <QtGlobal>

#include <limits>

// What Corvane reads of one item. A symbolic link is described by the link
// itself, never by its target.
struct FileInfo
{
    bool exists = false;
    bool isFolder = false;
    bool isHidden = false;   // the name starts with "."
    bool isReadOnly = false; // the owner may not write it
    bool isSystem = false;   // a socket, a device or a pipe
    bool isSymLink = false;
    qint64 size = 0;         // of a folder: 0 here; see FileSystem::folderSize
    // In seconds since the epoch, as the system gives them: a load reads many
    // items and shows their dates as numbers. No birth time reads as the
    // smallest number.
    qint64 createdSeconds = std::numeric_limits<qint64>::min();
    qint64 modifiedSeconds = std::numeric_limits<qint64>::min();

    // In UTC; invalid where the file system records no birth time.
    QDateTime created() const { return dateOf(createdSeconds); }
    QDateTime modified() const { return dateOf(modifiedSeconds); }

private:
    static QDateTime dateOf(qint64 seconds)
    {
        return seconds == std::numeric_limits<qint64>::min() ? QDateTime() : QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
    }
};
