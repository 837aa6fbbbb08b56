#include "platform/linuxfilesystem.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QDateTime fromTimestamp(const struct statx_timestamp &stamp)
{
    return QDateTime::fromSecsSinceEpoch(stamp.tv_sec);
}

bool statItem(const QByteArray &path, struct statx *st, unsigned mask)
{
    return ::statx(AT_FDCWD, path.constData(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, mask, st) == 0;
}

qint64 sizeBelow(const QByteArray &folder)
{
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return 0;
    qint64 total = 0;
    while (const dirent *entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        const QByteArray child = folder + '/' + entry->d_name;
        struct stat st;
        if (::lstat(child.constData(), &st) != 0)
            continue;
        if (S_ISDIR(st.st_mode))
            total += sizeBelow(child);
        else if (S_ISREG(st.st_mode))
            total += st.st_size;
    }
    ::closedir(dir);
    return total;
}

QString nameOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? path : path.mid(slash + 1);
}

} // namespace

FileInfo LinuxFileSystem::info(const QString &path) const
{
    FileInfo result;
    struct statx st;
    if (!statItem(QFile::encodeName(path), &st, STATX_BASIC_STATS | STATX_BTIME))
        return result;
    const mode_t mode = st.stx_mode;
    result.exists = true;
    result.isSymLink = S_ISLNK(mode);
    result.isFolder = S_ISDIR(mode);
    result.isSystem = S_ISSOCK(mode) || S_ISCHR(mode) || S_ISBLK(mode) || S_ISFIFO(mode);
    result.isHidden = nameOf(path).startsWith(u'.');
    result.isReadOnly = !(mode & S_IWUSR);
    result.size = result.isFolder ? 0 : qint64(st.stx_size);
    if (st.stx_mask & STATX_BTIME)
        result.created = fromTimestamp(st.stx_btime);
    result.modified = fromTimestamp(st.stx_mtime);
    return result;
}

bool LinuxFileSystem::exists(const QString &path) const
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

qint64 LinuxFileSystem::folderSize(const QString &path) const
{
    return sizeBelow(QFile::encodeName(path));
}

FsStatus LinuxFileSystem::rename(const QString &from, const QString &to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return {};
    const int error = errno;
    if (error != EINVAL)
        return FsStatus::fromErrno(error);

    // Some file systems refuse RENAME_NOREPLACE. link() fails when the target
    // exists, so for a regular file link-then-unlink is still race-free.
    struct stat st;
    if (::lstat(source.constData(), &st) != 0)
        return FsStatus::fromErrno(errno);
    if (!S_ISREG(st.st_mode))
        return FsStatus::fromErrno(error);
    if (::link(source.constData(), target.constData()) != 0)
        return FsStatus::fromErrno(errno);
    if (::unlink(source.constData()) != 0) {
        const int unlinkError = errno;
        ::unlink(target.constData());
        return FsStatus::fromErrno(unlinkError);
    }
    return {};
}

FsStatus LinuxFileSystem::remove(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (::lstat(name.constData(), &st) != 0)
        return FsStatus::fromErrno(errno);
    const int rc = S_ISDIR(st.st_mode) ? ::rmdir(name.constData()) : ::unlink(name.constData());
    return rc == 0 ? FsStatus{} : FsStatus::fromErrno(errno);
}
