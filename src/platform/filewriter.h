#pragma once

#include <QByteArray>

// Writes into open files by offset. A rewrite that must survive a full disk
// makes every write through one of these, so that tests can make any of them
// fail as a full disk or a failing drive would.
class FileWriter
{
public:
    virtual ~FileWriter() = default;

    // Writes all of bytes at offset; false with errno set otherwise.
    virtual bool writeAt(int fd, qint64 offset, const QByteArray &bytes);
    // Allocates length bytes from offset, growing the file, so that writing
    // there cannot run out of space; false with errno set (EOPNOTSUPP where
    // the file system cannot).
    virtual bool reserve(int fd, qint64 offset, qint64 length);
    // Copies length bytes from one open file to another, a piece at a time;
    // false with errno set.
    bool copyRange(int from, qint64 fromOffset, int to, qint64 toOffset, qint64 length);

    // Writes all of bytes at the file's position; false with errno set otherwise.
    static bool append(int fd, const QByteArray &bytes);
    // Reads exactly length bytes at offset; false with errno set otherwise.
    static bool readAt(int fd, qint64 offset, qint64 length, QByteArray &out);
    // The writer of the running program.
    static FileWriter &system();
};
