#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

// The files Corvane keeps for itself: settings, the user's templates, journals
// and the error log. Whoever else can write to their folder could plant a link
// or a file of their own there, so such a file is never opened through a link,
// and one that is a link, not a regular file, another user's, or writable by
// others is refused with a message naming it: never read, followed or truncated.
class OwnFile
{
public:
    // The file at path opened with flags (O_RDONLY or O_RDWR, never creating
    // it): its descriptor, or -1 with *error naming path and saying why. A
    // missing file gives -1 and an empty *error.
    static int open(const QString &path, int flags, QString *error);
    // A part of the program itself, such as its window module, opened for
    // reading by the same rules, except that root's files are trusted too.
    static int openProgramPart(const QString &path, QString *error);
    // The whole file; empty when it is missing or refused (*error says why).
    // *found, when asked, tells whether it was read.
    static QByteArray read(const QString &path, QString *error, bool *found = nullptr);
    // Puts bytes in place of path: written to a fresh file beside it, on the
    // disk, then renamed over it, so a failure leaves the earlier file whole.
    // Returns the error text, empty on success.
    static QString write(const QString &path, const QByteArray &bytes, mode_t mode);
    // A fresh file beside path, made with O_EXCL and mode: its descriptor and
    // *name, or -1 with *error.
    static int createBeside(const QString &path, mode_t mode, QString *name, QString *error);
    // "number description", a line break and path.
    static QString failure(int error, const QString &path);
};
