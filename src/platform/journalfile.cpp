#include "platform/journalfile.h"

#include "platform/crlf.h"
#include "platform/filewriter.h"
#include "platform/fsstatus.h"
#include "platform/ownfile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString errnoText()
{
    return FsStatus::fromErrno(errno).text();
}

// Locks the journal open at fd for a new run. False with *error when a live
// run holds it; false with no error when it is no longer the one at path.
bool lockCurrent(int fd, const QString &path, QString *error)
{
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        *error = (errno == EWOULDBLOCK ? QStringLiteral("他の Corvane が名前を変更しています") : errnoText())
                 + CrLf + path;
        return false;
    }
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::lstat(QFile::encodeName(path).constData(), &named) == 0
           && held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

// Puts the fresh file in place of path; over the locked earlier journal when
// there was one, else only where nothing is yet.
int place(const QByteArray &fresh, const QByteArray &path, bool replacing)
{
    if (replacing)
        return ::rename(fresh.constData(), path.constData());
    const int placed = ::renameat2(AT_FDCWD, fresh.constData(), AT_FDCWD, path.constData(), RENAME_NOREPLACE);
    if (placed == 0 || (errno != EINVAL && errno != ENOSYS))
        return placed;
    return ::link(fresh.constData(), path.constData()) == 0 ? ::unlink(fresh.constData()) : -1;
}

} // namespace

JournalFile::~JournalFile()
{
    close();
}

QString JournalFile::create(const QString &path)
{
    close();
    // A few rounds at most: each one lost means another run took its turn.
    for (int round = 0; round < 8; ++round) {
        QString error;
        const int earlier = OwnFile::open(path, O_RDWR, &error);
        if (!error.isEmpty())
            return error;
        if (earlier >= 0 && !lockCurrent(earlier, path, &error)) {
            ::close(earlier);
            if (!error.isEmpty())
                return error;
            continue;
        }
        QString fresh;
        const int fd = OwnFile::createBeside(path, 0600, &fresh, &error);
        const QByteArray freshName = QFile::encodeName(fresh);
        const bool placed = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0
                            && place(freshName, QFile::encodeName(path), earlier >= 0) == 0;
        const int code = errno;
        if (earlier >= 0)
            ::close(earlier);
        if (placed) {
            m_fd = fd;
            m_path = path;
            m_folderSynced = false;
            m_pending.clear();
            m_failure.clear();
            return {};
        }
        if (fd < 0)
            return error;
        ::close(fd);
        ::unlink(freshName.constData());
        if (code != EEXIST)
            return OwnFile::failure(code, path);
    }
    return OwnFile::failure(EAGAIN, path);
}

void JournalFile::append(const QByteArray &bytes)
{
    m_pending += bytes;
    // A large plan goes out as it comes, so it is never held whole; a failed
    // write is reported by the next sync().
    if (m_pending.size() < 256 * 1024 || m_fd < 0 || !m_failure.isEmpty())
        return;
    if (write(m_pending))
        m_pending.resize(0);
    else
        m_failure = errnoText() + CrLf + m_path;
}

QString JournalFile::sync()
{
    if (m_fd < 0)
        return QStringLiteral("記録ファイルが開かれていません");
    // After one failure nothing more is written: a later mark must never
    // stand in the file without the one that failed before it.
    if (m_failure.isEmpty() && (!write(m_pending) || ::fdatasync(m_fd) != 0))
        m_failure = errnoText() + CrLf + m_path;
    m_pending.clear();
    if (!m_failure.isEmpty())
        return m_failure;
    // The new file's name must survive a power cut as well as its bytes.
    if (!m_folderSynced) {
        const QByteArray folder = QFile::encodeName(QFileInfo(m_path).absolutePath());
        const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folderFd < 0 || ::fsync(folderFd) != 0) {
            m_failure = errnoText() + CrLf + m_path;
            if (folderFd >= 0)
                ::close(folderFd);
            return m_failure;
        }
        ::close(folderFd);
        m_folderSynced = true;
    }
    return {};
}

void JournalFile::close()
{
    if (m_fd < 0)
        return;
    ::close(m_fd); // also releases the lock
    m_fd = -1;
}

bool JournalFile::write(const QByteArray &bytes)
{
    return FileWriter::append(m_fd, bytes);
}

namespace {

// The journal opened for reading under a shared lock; -1 when it cannot be,
// busy telling whether a live run holds it.
int openLocked(const QString &path, bool *busy, QString *error)
{
    *busy = false;
    const int fd = OwnFile::open(path, O_RDONLY, error);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0) {
        *busy = errno == EWOULDBLOCK;
        if (!*busy)
            *error = errnoText() + CrLf + path;
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

void JournalFile::readPieces(const QString &path, bool *busy, QString *error, qint64 pieceBytes,
                             const std::function<bool(const QByteArray &piece, bool last)> &take)
{
    const int fd = openLocked(path, busy, error);
    if (fd < 0)
        return;
    for (bool more = true; more;) {
        QByteArray piece(pieceBytes, Qt::Uninitialized);
        qsizetype got = 0;
        while (got < pieceBytes) {
            const ssize_t read = ::read(fd, piece.data() + got, size_t(pieceBytes - got));
            if (read < 0 && errno == EINTR)
                continue;
            if (read < 0)
                *error = errnoText() + CrLf + path;
            if (read <= 0)
                break;
            got += read;
        }
        piece.truncate(got);
        const bool last = got < pieceBytes;
        more = take(piece, last) && !last;
    }
    ::close(fd);
}

QByteArray JournalFile::read(const QString &path, bool *busy, QString *error, qint64 lastBytes)
{
    const int fd = openLocked(path, busy, error);
    if (fd < 0)
        return {};
    QFile file;
    QByteArray bytes;
    if (file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle)) {
        if (lastBytes >= 0)
            file.seek(std::max<qint64>(0, file.size() - lastBytes));
        bytes = file.readAll();
    }
    else
        *error = file.errorString() + CrLf + path;
    ::close(fd);
    return bytes;
}
