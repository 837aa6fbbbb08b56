#include "platform/ownfile.h"

#include "platform/crlf.h"
#include "platform/filewriter.h"
#include "platform/fsstatus.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A group only its owner belongs to (Debian gives every user one, and a
// umask that lets it write) is no other user.
bool isPrivateGroup(gid_t group, uid_t user)
{
    const passwd *account = ::getpwuid(user);
    const struct group *entry = ::getgrgid(group);
    if (!account || !entry || account->pw_gid != group)
        return false;
    for (char **member = entry->gr_mem; *member; ++member) {
        if (qstrcmp(*member, account->pw_name) != 0)
            return false;
    }
    return true;
}

// The owners whose files Corvane trusts: the user, and for parts of the program also root.
enum class Owners { User, UserOrRoot };

QString refusalOf(const struct stat &status, const QString &path, Owners owners)
{
    QString reason;
    if (S_ISLNK(status.st_mode))
        reason = QStringLiteral("シンボリックリンクです");
    else if (!S_ISREG(status.st_mode))
        reason = QStringLiteral("通常のファイルではありません");
    else if (status.st_uid != ::geteuid() && !(owners == Owners::UserOrRoot && status.st_uid == 0))
        reason = QStringLiteral("他のユーザーのファイルです");
    else if ((status.st_mode & S_IWOTH) || ((status.st_mode & S_IWGRP) && !isPrivateGroup(status.st_gid, status.st_uid)))
        reason = QStringLiteral("他のユーザーも書き込めます");
    else
        return {};
    return u"安全のため使いません（" + reason + u"）\r\n" + path;
}

// Why the item at path may not be used, from a look at it without opening it.
QString refusalAt(const QByteArray &name, const QString &path, Owners owners = Owners::User)
{
    struct stat status {};
    if (::lstat(name.constData(), &status) == 0)
        return refusalOf(status, path, owners);
    return errno == ENOENT ? QString() : OwnFile::failure(errno, path);
}

int openOf(const QString &path, int flags, Owners owners, QString *error)
{
    const QByteArray name = QFile::encodeName(path);
    *error = refusalAt(name, path, owners);
    if (!error->isEmpty())
        return -1;
    // Whatever was swapped in since the look is caught by the second one, on
    // the open file; O_NONBLOCK keeps a planted pipe from hanging the open.
    const int fd = ::open(name.constData(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT)
            *error = errno == ELOOP ? refusalAt(name, path, owners) : OwnFile::failure(errno, path);
        return -1;
    }
    struct stat status {};
    *error = ::fstat(fd, &status) == 0 ? refusalOf(status, path, owners) : OwnFile::failure(errno, path);
    if (error->isEmpty())
        return fd;
    ::close(fd);
    return -1;
}

} // namespace

QString OwnFile::failure(int error, const QString &path)
{
    return FsStatus::fromErrno(error).text() + CrLf + path;
}

int OwnFile::open(const QString &path, int flags, QString *error)
{
    return openOf(path, flags, Owners::User, error);
}

int OwnFile::openProgramPart(const QString &path, QString *error)
{
    return openOf(path, O_RDONLY, Owners::UserOrRoot, error);
}

QByteArray OwnFile::read(const QString &path, QString *error, bool *found)
{
    const int fd = open(path, O_RDONLY, error);
    if (found)
        *found = fd >= 0;
    if (fd < 0)
        return {};
    QFile file;
    QByteArray bytes;
    if (file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = file.errorString() + CrLf + path;
        if (found)
            *found = false;
    }
    ::close(fd);
    return bytes;
}

int OwnFile::createBeside(const QString &path, mode_t mode, QString *name, QString *error)
{
    const QFileInfo target(path);
    QByteArray pattern = QFile::encodeName(target.absolutePath() + QStringLiteral("/.") + target.fileName()) + ".XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0 || ::fchmod(fd, mode) != 0) {
        *error = failure(errno, path);
        if (fd >= 0) {
            ::close(fd);
            ::unlink(pattern.constData());
        }
        return -1;
    }
    *name = QFile::decodeName(pattern);
    return fd;
}

QString OwnFile::write(const QString &path, const QByteArray &bytes, mode_t mode)
{
    if (const QString refusal = refusalAt(QFile::encodeName(path), path); !refusal.isEmpty())
        return refusal;
    QString temporary;
    QString error;
    const int fd = createBeside(path, mode, &temporary, &error);
    if (fd < 0)
        return error;
    const QByteArray temporaryName = QFile::encodeName(temporary);
    // A link planted after the look above is replaced, not followed.
    const bool placed = FileWriter::append(fd, bytes) && ::fdatasync(fd) == 0
                        && ::rename(temporaryName.constData(), QFile::encodeName(path).constData()) == 0;
    const int code = errno;
    ::close(fd);
    if (placed)
        return {};
    ::unlink(temporaryName.constData());
    return failure(code, path);
}
