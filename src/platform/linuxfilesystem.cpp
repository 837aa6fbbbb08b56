#include "platform/linuxfilesystem.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

QDateTime fromTimestamp(const struct statx_timestamp &stamp)
{
    // In UTC: a local time would look up the zone for every item read.
    return QDateTime::fromSecsSinceEpoch(stamp.tv_sec, Qt::UTC);
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

FolderEntry::Kind kindOf(mode_t mode)
{
    if (S_ISLNK(mode))
        return FolderEntry::Kind::SymLink;
    if (S_ISDIR(mode))
        return FolderEntry::Kind::Folder;
    if (S_ISREG(mode))
        return FolderEntry::Kind::File;
    return FolderEntry::Kind::System;
}

// Times may only be set on items the owner may write, as on the systems
// Corvane's users come from: a read-only file keeps its times.
FsStatus checkWritable(const QByteArray &name)
{
    struct stat st;
    if (::lstat(name.constData(), &st) != 0)
        return FsStatus::fromErrno(errno);
    if (!(st.st_mode & S_IWUSR))
        return FsStatus::fromErrno(EACCES);
    return {};
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
    result.isHidden = QStringView(path).mid(path.lastIndexOf(u'/') + 1).startsWith(u'.');
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

bool LinuxFileSystem::listFolder(const QString &path, std::vector<FolderEntry> *entries) const
{
    entries->clear();
    const QByteArray folder = QFile::encodeName(path);
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return false;
    const int fd = ::dirfd(dir);
    errno = 0;
    while (const dirent *entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        FolderEntry item{QByteArray(entry->d_name), FolderEntry::Kind::File};
        switch (entry->d_type) {
        case DT_REG: item.kind = FolderEntry::Kind::File; break;
        case DT_DIR: item.kind = FolderEntry::Kind::Folder; break;
        case DT_LNK: item.kind = FolderEntry::Kind::SymLink; break;
        case DT_UNKNOWN: {
            // Some file systems leave the type to a stat call.
            struct stat st;
            if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
                errno = 0;
                continue;
            }
            item.kind = kindOf(st.st_mode);
            break;
        }
        default: item.kind = FolderEntry::Kind::System; break;
        }
        entries->push_back(std::move(item));
        errno = 0;
    }
    const bool complete = errno == 0;
    ::closedir(dir);
    return complete;
}

FsStatus LinuxFileSystem::setModifiedTime(const QString &path, const QDateTime &time)
{
    const QByteArray name = QFile::encodeName(path);
    if (FsStatus writable = checkWritable(name); !writable.ok())
        return writable;
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(time.toSecsSinceEpoch());
    times[1].tv_nsec = 0;
    if (::utimensat(AT_FDCWD, name.constData(), times, AT_SYMLINK_NOFOLLOW) != 0)
        return FsStatus::fromErrno(errno);
    return {};
}

namespace {

// Only NTFS and SMB shares keep a creation time Linux may set, as an attribute.
constexpr const char *CreationAttributes[] = {"system.ntfs_crtime", "user.cifs.creationtime"};
const QString NoCreationTime = QStringLiteral("この場所のファイルシステムでは作成日を変更できません");

// The attribute that holds the creation time of name; null with the reason otherwise.
const char *creationAttribute(const QByteArray &name, FsStatus *status)
{
    for (const char *attribute : CreationAttributes) {
        if (::lgetxattr(name.constData(), attribute, nullptr, 0) >= 0)
            return attribute;
    }
    *status = errno == ENOENT ? FsStatus::fromErrno(ENOENT) : FsStatus{ENOTSUP, NoCreationTime};
    return nullptr;
}

} // namespace

FsStatus LinuxFileSystem::setCreatedTime(const QString &path, const QDateTime &time)
{
    const QByteArray name = QFile::encodeName(path);
    if (FsStatus writable = checkWritable(name); !writable.ok())
        return writable;
    FsStatus status;
    const char *attribute = creationAttribute(name, &status);
    if (!attribute)
        return status;
    // The attribute holds the time as 100-nanosecond steps since 1601-01-01 UTC.
    constexpr qint64 secondsFrom1601To1970 = 11644473600;
    const quint64 ticks = quint64(time.toSecsSinceEpoch() + secondsFrom1601To1970) * 10000000u;
    unsigned char value[8];
    for (int i = 0; i < 8; ++i)
        value[i] = static_cast<unsigned char>(ticks >> (8 * i));
    if (::lsetxattr(name.constData(), attribute, value, sizeof value, XATTR_REPLACE) != 0)
        return FsStatus::fromErrno(errno);
    return {};
}

FsStatus LinuxFileSystem::createdTimeSupport(const QString &path) const
{
    FsStatus status;
    creationAttribute(QFile::encodeName(path), &status);
    return status;
}
