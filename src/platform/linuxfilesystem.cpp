#include "platform/linuxfilesystem.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

constexpr int folderFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
constexpr int listingFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

// A system call takes at most PATH_MAX bytes of path, so a longer one is
// opened a piece at a time, each piece relative to the folder before it.
int openPath(const QByteArray &path, int flags)
{
    int at = AT_FDCWD;
    qsizetype start = 0;
    while (path.size() - start >= PATH_MAX) {
        const qsizetype cut = path.lastIndexOf('/', start + PATH_MAX - 2);
        int next = -1;
        if (cut > start)
            next = ::openat(at, path.mid(start, cut - start).constData(), folderFlags);
        else
            errno = ENAMETOOLONG;
        const int error = errno;
        if (at != AT_FDCWD)
            ::close(at);
        if (next < 0) {
            errno = error;
            return -1;
        }
        at = next;
        start = cut + 1;
    }
    const int fd = ::openat(at, path.constData() + start, flags);
    const int error = errno;
    if (at != AT_FDCWD)
        ::close(at);
    errno = error;
    return fd;
}

// An item as the *at calls name it: a folder descriptor and a name. A full
// path names itself, unless it is too long for one call: then its folder is
// opened on the way.
class ItemName
{
public:
    explicit ItemName(const QString &path)
        : m_name(QFile::encodeName(path))
    {
        if (m_name.size() < PATH_MAX)
            return;
        const qsizetype slash = m_name.lastIndexOf('/');
        m_owned = openPath(slash == 0 ? QByteArray("/") : m_name.left(slash), folderFlags);
        m_error = m_owned < 0 ? errno : 0;
        m_folder = m_owned;
        m_name = m_name.mid(slash + 1);
    }

    ItemName(const FolderHandle &folder, const QString &name)
        : m_folder(folder.descriptor() >= 0 ? folder.descriptor() : AT_FDCWD)
        , m_name(QFile::encodeName(name))
        , m_error(folder.status().code)
    {
    }

    ItemName(const ItemName &) = delete;
    ItemName &operator=(const ItemName &) = delete;
    ~ItemName()
    {
        if (m_owned >= 0)
            ::close(m_owned);
    }

    int folder() const { return m_folder; }
    const char *name() const { return m_name.constData(); }
    // Why the folder could not be opened; 0 when it was.
    int error() const { return m_error; }
    // For calls with no *at form: the kernel's own name for the open folder.
    QByteArray path() const
    {
        return m_folder == AT_FDCWD ? m_name : "/proc/self/fd/" + QByteArray::number(m_folder) + '/' + m_name;
    }

private:
    int m_folder = AT_FDCWD;
    int m_owned = -1;
    QByteArray m_name;
    int m_error = 0;
};

QDateTime fromTimestamp(const struct statx_timestamp &stamp)
{
    // In UTC: a local time would look up the zone for every item read.
    return QDateTime::fromSecsSinceEpoch(stamp.tv_sec, Qt::UTC);
}

bool lstatAt(const ItemName &item, struct stat *st)
{
    if (item.error() != 0) {
        errno = item.error();
        return false;
    }
    return ::fstatat(item.folder(), item.name(), st, AT_SYMLINK_NOFOLLOW) == 0;
}

// Takes over folder, an open descriptor of a folder that may be read.
qint64 sizeBelow(int folder)
{
    DIR *dir = ::fdopendir(folder);
    if (!dir) {
        ::close(folder);
        return 0;
    }
    qint64 total = 0;
    while (const dirent *entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        struct stat st;
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISDIR(st.st_mode)) {
            const int child = ::openat(::dirfd(dir), entry->d_name, listingFlags | O_NOFOLLOW);
            if (child >= 0)
                total += sizeBelow(child);
        } else if (S_ISREG(st.st_mode)) {
            total += st.st_size;
        }
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
FsStatus checkWritable(const ItemName &item)
{
    struct stat st;
    if (!lstatAt(item, &st))
        return FsStatus::fromErrno(errno);
    if (!(st.st_mode & S_IWUSR))
        return FsStatus::fromErrno(EACCES);
    return {};
}

FileInfo infoOf(const ItemName &item, QStringView fileName)
{
    FileInfo result;
    struct statx st;
    if (item.error() != 0
        || ::statx(item.folder(), item.name(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT,
                   STATX_BASIC_STATS | STATX_BTIME, &st) != 0)
        return result;
    const mode_t mode = st.stx_mode;
    result.exists = true;
    result.isSymLink = S_ISLNK(mode);
    result.isFolder = S_ISDIR(mode);
    result.isSystem = S_ISSOCK(mode) || S_ISCHR(mode) || S_ISBLK(mode) || S_ISFIFO(mode);
    result.isHidden = fileName.startsWith(u'.');
    result.isReadOnly = !(mode & S_IWUSR);
    result.size = result.isFolder ? 0 : qint64(st.stx_size);
    if (st.stx_mask & STATX_BTIME)
        result.created = fromTimestamp(st.stx_btime);
    result.modified = fromTimestamp(st.stx_mtime);
    return result;
}

FsStatus renameItem(const ItemName &from, const ItemName &to)
{
    if (from.error() != 0 || to.error() != 0)
        return FsStatus::fromErrno(from.error() != 0 ? from.error() : to.error());
    if (::renameat2(from.folder(), from.name(), to.folder(), to.name(), RENAME_NOREPLACE) == 0)
        return {};
    const int error = errno;
    if (error != EINVAL)
        return FsStatus::fromErrno(error);

    // Some file systems refuse RENAME_NOREPLACE. link() fails when the target
    // exists, so for a regular file link-then-unlink is still race-free.
    struct stat st;
    if (!lstatAt(from, &st))
        return FsStatus::fromErrno(errno);
    if (!S_ISREG(st.st_mode))
        return FsStatus::fromErrno(error);
    if (::linkat(from.folder(), from.name(), to.folder(), to.name(), 0) != 0)
        return FsStatus::fromErrno(errno);
    if (::unlinkat(from.folder(), from.name(), 0) != 0) {
        const int unlinkError = errno;
        ::unlinkat(to.folder(), to.name(), 0);
        return FsStatus::fromErrno(unlinkError);
    }
    return {};
}

FsStatus setModified(const ItemName &item, const QDateTime &time)
{
    if (FsStatus writable = checkWritable(item); !writable.ok())
        return writable;
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(time.toSecsSinceEpoch());
    times[1].tv_nsec = 0;
    if (::utimensat(item.folder(), item.name(), times, AT_SYMLINK_NOFOLLOW) != 0)
        return FsStatus::fromErrno(errno);
    return {};
}

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

FsStatus setCreated(const ItemName &item, const QDateTime &time)
{
    if (FsStatus writable = checkWritable(item); !writable.ok())
        return writable;
    const QByteArray name = item.path();
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

} // namespace

FileInfo LinuxFileSystem::info(const QString &path) const
{
    return infoOf(ItemName(path), QStringView(path).mid(path.lastIndexOf(u'/') + 1));
}

bool LinuxFileSystem::exists(const QString &path) const
{
    struct stat st;
    return lstatAt(ItemName(path), &st);
}

qint64 LinuxFileSystem::folderSize(const QString &path) const
{
    const int folder = openPath(QFile::encodeName(path), listingFlags);
    return folder < 0 ? 0 : sizeBelow(folder);
}

FsStatus LinuxFileSystem::rename(const QString &from, const QString &to)
{
    return renameItem(ItemName(from), ItemName(to));
}

FsStatus LinuxFileSystem::remove(const QString &path)
{
    const ItemName item(path);
    struct stat st;
    if (!lstatAt(item, &st))
        return FsStatus::fromErrno(errno);
    if (::unlinkat(item.folder(), item.name(), S_ISDIR(st.st_mode) ? AT_REMOVEDIR : 0) != 0)
        return FsStatus::fromErrno(errno);
    return {};
}

QString LinuxFileSystem::linkTarget(const QString &path) const
{
    char *resolved = ::realpath(QFile::encodeName(path).constData(), nullptr);
    const QString target = resolved ? QFile::decodeName(resolved) : QString();
    std::free(resolved);
    return target;
}

bool LinuxFileSystem::canListFolder(const QString &path) const
{
    return leadsToFolder(path) && ::access(QFile::encodeName(path).constData(), R_OK | X_OK) == 0;
}

bool LinuxFileSystem::listFolder(const QString &path, std::vector<FolderEntry> *entries) const
{
    entries->clear();
    const int folder = openPath(QFile::encodeName(path), listingFlags);
    DIR *dir = folder < 0 ? nullptr : ::fdopendir(folder);
    if (!dir) {
        if (folder >= 0)
            ::close(folder);
        return false;
    }
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
    return setModified(ItemName(path), time);
}

FsStatus LinuxFileSystem::setCreatedTime(const QString &path, const QDateTime &time)
{
    return setCreated(ItemName(path), time);
}

FsStatus LinuxFileSystem::createdTimeSupport(const QString &path) const
{
    const ItemName item(path);
    if (item.error() != 0)
        return FsStatus::fromErrno(item.error());
    FsStatus status;
    creationAttribute(item.path(), &status);
    return status;
}

FolderHandle LinuxFileSystem::openFolder(const QString &path) const
{
    const int folder = openPath(QFile::encodeName(path), folderFlags);
    return FolderHandle(path, folder, folder < 0 ? FsStatus::fromErrno(errno) : FsStatus{});
}

FileInfo LinuxFileSystem::infoIn(const FolderHandle &folder, const QString &name) const
{
    return infoOf(ItemName(folder, name), name);
}

bool LinuxFileSystem::existsIn(const FolderHandle &folder, const QString &name) const
{
    struct stat st;
    return lstatAt(ItemName(folder, name), &st);
}

FsStatus LinuxFileSystem::renameIn(const FolderHandle &folder, const QString &from, const QString &to)
{
    return renameItem(ItemName(folder, from), ItemName(folder, to));
}

FsStatus LinuxFileSystem::setModifiedTimeIn(const FolderHandle &folder, const QString &name, const QDateTime &time)
{
    return setModified(ItemName(folder, name), time);
}

FsStatus LinuxFileSystem::setCreatedTimeIn(const FolderHandle &folder, const QString &name, const QDateTime &time)
{
    return setCreated(ItemName(folder, name), time);
}
