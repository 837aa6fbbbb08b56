#include "tags/tagfile.h"

#include "platform/fsstatus.h"
#include "platform/pathtext.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

constexpr qint64 ChunkSize = 1 << 20;

const QString ChangedSinceLoad = QStringLiteral("読み込んだ後にファイルが変更されたため書き込みません");

QString systemError(int error)
{
    return FsStatus::fromErrno(error).text();
}

// A file descriptor closed on every path out.
class Fd
{
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return m_fd; }
    bool ok() const { return m_fd >= 0; }

private:
    int m_fd;
};

Fd openPath(const QString &path, int flags)
{
    return Fd(::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC));
}

// Reads exactly length bytes at offset; false with errno set otherwise.
bool readAt(int fd, qint64 offset, qint64 length, QByteArray &out)
{
    out.resize(length);
    qint64 done = 0;
    while (done < length) {
        const ssize_t n = ::pread(fd, out.data() + done, size_t(length - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

bool writeAt(int fd, qint64 offset, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

// Copies length bytes from one file to another; false with errno set.
bool copyRange(int from, qint64 fromOffset, int to, qint64 toOffset, qint64 length)
{
    QByteArray chunk;
    for (qint64 done = 0; done < length; done += ChunkSize) {
        const qint64 part = std::min(ChunkSize, length - done);
        if (!readAt(from, fromOffset + done, part, chunk) || !writeAt(to, toOffset + done, chunk))
            return false;
    }
    return true;
}

// Gives temp the owner, extended attributes (ACLs among them) and mode of
// the file st describes; false when any of them cannot be kept.
bool copyIdentity(int source, int temp, const struct stat &st)
{
    struct stat mine;
    if (::fstat(temp, &mine) != 0)
        return false;
    if ((mine.st_uid != st.st_uid || mine.st_gid != st.st_gid) && ::fchown(temp, st.st_uid, st.st_gid) != 0)
        return false;
    const ssize_t length = ::flistxattr(source, nullptr, 0);
    if (length < 0 && errno != ENOTSUP)
        return false;
    if (length > 0) {
        QByteArray names(length, '\0');
        const ssize_t got = ::flistxattr(source, names.data(), size_t(names.size()));
        if (got < 0)
            return false;
        for (const QByteArray &name : names.left(got).split('\0')) {
            if (name.isEmpty())
                continue;
            const ssize_t size = ::fgetxattr(source, name.constData(), nullptr, 0);
            QByteArray value(std::max<ssize_t>(size, 0), '\0');
            if (size < 0 || ::fgetxattr(source, name.constData(), value.data(), size_t(value.size())) != size
                || ::fsetxattr(temp, name.constData(), value.constData(), size_t(value.size()), 0) != 0)
                return false;
        }
    }
    return ::fchmod(temp, st.st_mode & 07777) == 0;
}

void syncFolder(const QString &path)
{
    const Fd folder = openPath(FolderOf(path), O_RDONLY | O_DIRECTORY);
    if (folder.ok())
        ::fsync(folder.get());
}

} // namespace

QString TagFile::load(const QString &path)
{
    *this = TagFile();
    m_path = path;
    // Non-blocking, so that a pipe named like an MP3 file cannot hang the run.
    const Fd fd = openPath(path, O_RDONLY | O_NONBLOCK);
    if (!fd.ok())
        return systemError(errno);
    struct stat st;
    if (::fstat(fd.get(), &st) != 0)
        return systemError(errno);
    if (S_ISDIR(st.st_mode))
        return systemError(EISDIR);
    if (!S_ISREG(st.st_mode))
        return systemError(EINVAL);
    m_size = st.st_size;

    // One read takes the header and, for most files, the whole tag.
    constexpr qint64 FirstRead = 4096;
    QByteArray bytes;
    if (m_size >= 10) {
        if (!readAt(fd.get(), 0, std::min(m_size, FirstRead), bytes))
            return systemError(errno);
        if (bytes.startsWith("ID3")) {
            qint64 area = 10;
            for (int i = 6; i < 10; ++i)
                area += qint64(uchar(bytes[i]) & 0x7F) << (7 * (9 - i));
            if (area > m_size)
                return QStringLiteral("ID3v2 タグのサイズがファイルの長さを超えています");
            if (area > bytes.size() && !readAt(fd.get(), 0, area, bytes))
                return systemError(errno);
            m_head = bytes.left(area);
        }
    }
    if (m_size < TailLength)
        return QStringLiteral("ファイルが 128 バイトより短いため ID3v1 タグを読めません");
    // A block inside the ID3v2 tag area is not an ID3v1 tag: writing it would break that tag.
    if (m_size - TailLength >= m_head.size()) {
        if (!readAt(fd.get(), m_size - TailLength, TailLength, m_tail))
            return systemError(errno);
    }
    return {};
}

// The one check before every write: the file still is what was loaded.
QString TagFile::checkUnchanged(int fd) const
{
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return systemError(errno);
    QByteArray onDisk;
    if (st.st_size != m_size || !readAt(fd, 0, m_head.size(), onDisk) || onDisk != m_head)
        return ChangedSinceLoad;
    if (!m_tail.isEmpty() && (!readAt(fd, m_size - TailLength, TailLength, onDisk) || onDisk != m_tail))
        return ChangedSinceLoad;
    return {};
}

QString TagFile::writeTail(const QByteArray &block)
{
    const Fd fd = openPath(m_path, O_RDWR);
    if (!fd.ok())
        return systemError(errno);
    if (const QString error = checkUnchanged(fd.get()); !error.isEmpty())
        return error;
    if (!writeAt(fd.get(), m_size - TailLength, block))
        return systemError(errno);
    m_tail = block;
    return {};
}

QString TagFile::writeHead(const QByteArray &area)
{
    if (area.size() != m_head.size())
        return grow(area);
    const Fd fd = openPath(m_path, O_RDWR);
    if (!fd.ok())
        return systemError(errno);
    if (const QString error = checkUnchanged(fd.get()); !error.isEmpty())
        return error;
    if (!writeAt(fd.get(), 0, area))
        return systemError(errno);
    m_head = area;
    return {};
}

// The grown file is first built whole beside the old one. It then takes the
// old file's place in one rename when that keeps everything the file is;
// otherwise (more hard links, an owner or attribute only the old file may
// have) it is copied over the old file in place, and the copy stays beside it
// until that has completed.
QString TagFile::grow(const QByteArray &area)
{
    // Replace the file a link points to, not the link.
    const QString target = QFileInfo(m_path).canonicalFilePath();
    if (target.isEmpty())
        return systemError(ENOENT);
    const Fd source = openPath(target, O_RDWR);
    if (!source.ok())
        return systemError(errno);
    struct stat st;
    if (::fstat(source.get(), &st) != 0)
        return systemError(errno);
    if (const QString error = checkUnchanged(source.get()); !error.isEmpty())
        return error;

    QByteArray tempName = QFile::encodeName(JoinPath(FolderOf(target), u'.' + FileNameOf(target))) + ".corvane-XXXXXX";
    const Fd temp(::mkostemp(tempName.data(), O_CLOEXEC));
    if (!temp.ok())
        return systemError(errno);
    const auto abandon = [&tempName](int error) {
        ::unlink(tempName.constData());
        return systemError(error);
    };
    const qint64 audio = m_size - m_head.size();
    const qint64 newSize = area.size() + audio;
    if (!writeAt(temp.get(), 0, area) || !copyRange(source.get(), m_head.size(), temp.get(), area.size(), audio)
        || ::fsync(temp.get()) != 0)
        return abandon(errno);

    if (st.st_nlink == 1 && copyIdentity(source.get(), temp.get(), st)) {
        if (::rename(tempName.constData(), QFile::encodeName(target).constData()) != 0)
            return abandon(errno);
    } else if (!holdsCopy(source.get(), temp.get(), area)) {
        return abandon(EIO);
    } else {
        // Should this be cut short, the copy beside the file holds the whole new file.
        if (::ftruncate(source.get(), newSize) != 0 || !copyRange(temp.get(), 0, source.get(), 0, newSize)
            || ::fsync(source.get()) != 0)
            return systemError(errno);
        ::unlink(tempName.constData());
    }
    syncFolder(target);
    m_head = area;
    m_size = newSize;
    return {};
}

// Whether temp, read back whole, holds area and then the file's audio.
bool TagFile::holdsCopy(int fd, int temp, const QByteArray &area) const
{
    QByteArray copied, original;
    if (!readAt(temp, 0, area.size(), copied) || copied != area)
        return false;
    const qint64 audio = m_size - m_head.size();
    for (qint64 done = 0; done < audio; done += ChunkSize) {
        const qint64 part = std::min(ChunkSize, audio - done);
        if (!readAt(temp, area.size() + done, part, copied) || !readAt(fd, m_head.size() + done, part, original)
            || copied != original)
            return false;
    }
    return true;
}
