#include "platform/journalfile.h"

#include "platform/fsstatus.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

QString errnoText()
{
    return FsStatus::fromErrno(errno).text();
}

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *at = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, at, static_cast<size_t>(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        at += written;
        left -= written;
    }
    return true;
}

} // namespace

JournalFile::~JournalFile()
{
    close();
}

QString JournalFile::create(const QString &path)
{
    close();
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return errnoText() + QStringLiteral("\r\n") + path;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const QString error = errno == EWOULDBLOCK ? QStringLiteral("他の Corvane が名前を変更しています")
                                                    : errnoText();
        ::close(fd);
        return error + QStringLiteral("\r\n") + path;
    }
    if (::ftruncate(fd, 0) != 0) {
        const QString error = errnoText();
        ::close(fd);
        return error + QStringLiteral("\r\n") + path;
    }
    m_fd = fd;
    m_path = path;
    m_folderSynced = false;
    m_pending.clear();
    m_failure.clear();
    return {};
}

void JournalFile::append(const QByteArray &bytes)
{
    m_pending += bytes;
    // A large plan goes out as it comes, so it is never held whole; a failed
    // write is reported by the next sync().
    if (m_pending.size() < 256 * 1024 || m_fd < 0 || !m_failure.isEmpty())
        return;
    if (writeAll(m_fd, m_pending))
        m_pending.resize(0);
    else
        m_failure = errnoText() + QStringLiteral("\r\n") + m_path;
}

QString JournalFile::sync()
{
    if (m_fd < 0)
        return QStringLiteral("記録ファイルが開かれていません");
    if (!m_failure.isEmpty())
        return m_failure;
    if (!writeAll(m_fd, m_pending) || ::fdatasync(m_fd) != 0)
        return errnoText() + QStringLiteral("\r\n") + m_path;
    m_pending.clear();
    // The new file's name must survive a power cut as well as its bytes.
    if (!m_folderSynced) {
        const QByteArray folder = QFile::encodeName(QFileInfo(m_path).absolutePath());
        const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folderFd < 0 || ::fsync(folderFd) != 0) {
            const QString error = errnoText();
            if (folderFd >= 0)
                ::close(folderFd);
            return error + QStringLiteral("\r\n") + m_path;
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

QByteArray JournalFile::read(const QString &path, bool *busy, QString *error, qint64 lastBytes)
{
    *busy = false;
    error->clear();
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT)
            *error = errnoText() + QStringLiteral("\r\n") + path;
        return {};
    }
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0) {
        *busy = errno == EWOULDBLOCK;
        if (!*busy)
            *error = errnoText() + QStringLiteral("\r\n") + path;
        ::close(fd);
        return {};
    }
    QFile file;
    QByteArray bytes;
    if (file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle)) {
        if (lastBytes >= 0)
            file.seek(std::max<qint64>(0, file.size() - lastBytes));
        bytes = file.readAll();
    }
    else
        *error = file.errorString() + QStringLiteral("\r\n") + path;
    ::close(fd);
    return bytes;
}
