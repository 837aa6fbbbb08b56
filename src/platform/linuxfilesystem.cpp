#include "platform/linuxfilesystem.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <utility>

namespace {

// fusefat renames a folder by dropping what the folder holds. The mount table
// names the file system a folder lies on by its device.
bool foldersLoseContents(int folder)
{
    struct stat st;
    QFile mounts(QStringLiteral("/proc/self/mountinfo"));
    if (::fstat(folder, &st) != 0 || !mounts.open(QIODevice::ReadOnly))
        return false;
    const QByteArray device = QByteArray::number(major(st.st_dev)) + ':' + QByteArray::number(minor(st.st_dev));
    // A file of /proc tells no size, so it is read whole rather than line by line.
    for (const QByteArray &line : mounts.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf("-");
        if (fields.size() > 2 && fields[2] == device && dash > 0 && dash + 1 < fields.size())
            return fields[dash + 1] == "fuse.fusefat";
    }
    return false;
}

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
        , m_error(folder.status().code)
    {
        // What QFile::encodeName gives on Linux; a short ASCII name, the
        // usual case in a run over many items, is copied without a heap buffer.
        // The units are copied first and checked once, in a loop without exits.
        const qsizetype size = name.size();
        const auto *units = name.utf16();
        char16_t all = 0;
        if (size < qsizetype(sizeof m_short)) {
            for (qsizetype i = 0; i < size; ++i) {
                m_short[i] = char(units[i]);
                all |= units[i];
            }
            m_short[size] = '\0';
        }
        m_inShort = size < qsizetype(sizeof m_short) && all < 0x80;
        if (!m_inShort)
            m_name = name.toUtf8();
    }

    ItemName(const ItemName &) = delete;
    ItemName &operator=(const ItemName &) = delete;
    ~ItemName()
    {
        if (m_owned >= 0)
            ::close(m_owned);
    }

    int folder() const { return m_folder; }
    const char *name() const { return m_inShort ? m_short : m_name.constData(); }
    // Why the folder could not be opened; 0 when it was.
    int error() const { return m_error; }
    // For calls with no *at form: the kernel's own name for the open folder.
    QByteArray path() const
    {
        const QByteArray name(this->name());
        return m_folder == AT_FDCWD ? name : "/proc/self/fd/" + QByteArray::number(m_folder) + '/' + name;
    }

private:
    int m_folder = AT_FDCWD;
    int m_owned = -1;
    QByteArray m_name;
    char m_short[128];
    bool m_inShort = false;
    int m_error = 0;
};

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
        result.createdSeconds = st.stx_btime.tv_sec;
    result.modifiedSeconds = st.stx_mtime.tv_sec;
    return result;
}

// Whether a link failed because the file system keeps no hard links, rather
// than for this one item.
bool refusesLinks(int error)
{
    return error == EPERM || error == EOPNOTSUPP || error == ENOSYS;
}

// The folder part of a name as the *at calls take it ("." for none) and its last part.
std::pair<QByteArray, QByteArray> splitName(const char *name)
{
    const QByteArray whole(name);
    const qsizetype slash = whole.lastIndexOf('/');
    if (slash < 0)
        return {QByteArrayLiteral("."), whole};
    return {slash == 0 ? QByteArrayLiteral("/") : whole.left(slash), whole.mid(slash + 1)};
}

// On a file system that ignores letter case, to may name the item from itself:
// a change of case alone. Then the folder lists no entry spelt exactly as to.
bool isCaseAlias(int folder, const char *from, const char *to)
{
    const auto [fromFolder, fromName] = splitName(from);
    const auto [toFolder, toName] = splitName(to);
    if (fromFolder != toFolder || fromName == toName
        || QFile::decodeName(fromName).compare(QFile::decodeName(toName), Qt::CaseInsensitive) != 0)
        return false;
    const int listing = ::openat(folder, toFolder.constData(), listingFlags);
    DIR *dir = listing < 0 ? nullptr : ::fdopendir(listing);
    if (!dir) {
        if (listing >= 0)
            ::close(listing);
        return false;
    }
    bool listed = false;
    while (const dirent *entry = ::readdir(dir)) {
        if (toName == entry->d_name) {
            listed = true;
            break;
        }
    }
    ::closedir(dir);
    return !listed;
}

// The second half of a move by a hard link; where the old name cannot go,
// the new one does, so that the item keeps one name.
int dropOldName(int fromFolder, const char *from, int toFolder, const char *to)
{
    if (::unlinkat(fromFolder, from, 0) == 0)
        return 0;
    const int error = errno;
    ::unlinkat(toFolder, to, 0);
    return error;
}

// For file systems that refuse both safe ways: make sure nothing is at the
// target, then rename at once. Only another program creating the target in
// that instant could lose it, the narrowest window these file systems allow.
int renameIfFree(int fromFolder, const char *from, int toFolder, const char *to)
{
    struct stat st;
    if (::fstatat(toFolder, to, &st, AT_SYMLINK_NOFOLLOW) == 0)
        return EEXIST;
    if (errno != ENOENT)
        return errno;
    return ::renameat(fromFolder, from, toFolder, to) == 0 ? 0 : errno;
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
    const ItemName source(from);
    const ItemName target(to);
    if (source.error() != 0 || target.error() != 0)
        return FsStatus::fromErrno(source.error() != 0 ? source.error() : target.error());
    FolderHandle::Refusals refused;
    return renameAt(source.folder(), source.name(), target.folder(), target.name(), refused);
}

// A target the file system finds under another spelling of the source's own
// name is the source itself, no collision: a change of letter case alone.
// Some file systems take such a rename for done without changing anything;
// then the item passes through a name of its own on the way.
FsStatus LinuxFileSystem::renameAt(int fromFolder, const char *from, int toFolder, const char *to,
                                   FolderHandle::Refusals &refused)
{
    const FsStatus status = renameUnlessTaken(fromFolder, from, toFolder, to, refused);
    if (status.code != EEXIST || fromFolder != toFolder || !isCaseAlias(fromFolder, from, to))
        return status;
    if (::renameat(fromFolder, from, toFolder, to) != 0)
        return FsStatus::fromErrno(errno);
    return isCaseAlias(fromFolder, from, to) ? changeCaseInSteps(fromFolder, from, to, refused) : FsStatus{};
}

FsStatus LinuxFileSystem::changeCaseInSteps(int folder, const char *from, const char *to, FolderHandle::Refusals &refused)
{
    const QByteArray step = splitName(from).first + "/.corvane-case-" + QByteArray::number(::getpid());
    if (FsStatus first = renameUnlessTaken(folder, from, folder, step.constData(), refused); !first.ok())
        return first;
    const FsStatus second = renameUnlessTaken(folder, step.constData(), folder, to, refused);
    if (!second.ok())
        renameUnlessTaken(folder, step.constData(), folder, from, refused);
    return second;
}

// RENAME_NOREPLACE first; where the file system refuses it, a hard link and
// the old name removed, which cannot replace either; where it refuses links
// too, and for folders, which have none, renameIfFree.
FsStatus LinuxFileSystem::renameUnlessTaken(int fromFolder, const char *from, int toFolder, const char *to,
                                            FolderHandle::Refusals &refused)
{
    if (!refused.noReplaceFlag) {
        const int error = renameNoReplace(fromFolder, from, toFolder, to);
        if (error != EINVAL && error != ENOSYS)
            return FsStatus::fromErrno(error);
        refused.noReplaceFlag = true;
    }
    struct stat st;
    if (::fstatat(fromFolder, from, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return FsStatus::fromErrno(errno);
    if (S_ISREG(st.st_mode) && !refused.links) {
        const int error = hardLink(fromFolder, from, toFolder, to);
        if (error == 0)
            return FsStatus::fromErrno(dropOldName(fromFolder, from, toFolder, to));
        if (!refusesLinks(error))
            return FsStatus::fromErrno(error);
        refused.links = true;
    }
    if (S_ISDIR(st.st_mode)) {
        if (!refused.foldersLoseContents)
            refused.foldersLoseContents = foldersLoseContents(fromFolder);
        if (*refused.foldersLoseContents)
            return {ENOTSUP, QStringLiteral("このファイルシステム (fusefat) ではフォルダの名前を変えると中身が失われるため、変更しません")};
    }
    return FsStatus::fromErrno(renameIfFree(fromFolder, from, toFolder, to));
}

int LinuxFileSystem::renameNoReplace(int fromFolder, const char *from, int toFolder, const char *to)
{
    return ::renameat2(fromFolder, from, toFolder, to, RENAME_NOREPLACE) == 0 ? 0 : errno;
}

int LinuxFileSystem::hardLink(int fromFolder, const char *from, int toFolder, const char *to)
{
    return ::linkat(fromFolder, from, toFolder, to, 0) == 0 ? 0 : errno;
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

FsStatus LinuxFileSystem::renameIn(FolderHandle &folder, const QString &from, const QString &to)
{
    if (!folder.status().ok())
        return folder.status();
    const ItemName source(folder, from);
    const ItemName target(folder, to);
    return renameAt(source.folder(), source.name(), target.folder(), target.name(), folder.refusals());
}

FsStatus LinuxFileSystem::setModifiedTimeIn(const FolderHandle &folder, const QString &name, const QDateTime &time)
{
    return setModified(ItemName(folder, name), time);
}

FsStatus LinuxFileSystem::setCreatedTimeIn(const FolderHandle &folder, const QString &name, const QDateTime &time)
{
    return setCreated(ItemName(folder, name), time);
}
