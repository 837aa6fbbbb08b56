#include "tags/tagfile.h"

#include "platform/filewriter.h"
#include "platform/fsstatus.h"
#include "platform/pathtext.h"
#include "platform/uniquefd.h"

#include <QFile>
#include <QRandomGenerator>

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
    return error == ELOOP ? TagFile::linkRefusal() : FsStatus::fromErrno(error).text();
}

bool readAt(int fd, qint64 offset, qint64 length, QByteArray &out)
{
    return FileWriter::readAt(fd, offset, length, out);
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
    const UniqueFd folder = UniqueFd::open(FolderOf(path), O_RDONLY | O_DIRECTORY);
    if (folder.ok())
        ::fsync(folder.get());
}

// ".NAME.corvane-XXXXXX" beside the file, the name cut to leave room for the rest.
QString copyPathFor(const QString &path)
{
    constexpr int NameMax = 255;
    const QString mark = QStringLiteral(".corvane-");
    QString name = FileNameOf(path);
    while (QFile::encodeName(name).size() > NameMax - 1 - mark.size() - 6)
        name.chop(1);
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString suffix;
    for (int i = 0; i < 6; ++i)
        suffix += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)]);
    return JoinPath(FolderOf(path), u'.' + name + mark + suffix);
}

QString record(TagJournal *journal, TagJournal::Rewrite *rewrite, TagJournal::Step step)
{
    return journal ? journal->step(rewrite, step) : QString();
}

} // namespace

QString TagFile::linkRefusal()
{
    return QStringLiteral("シンボリックリンクのため書き込みません（リンク先のファイルは変更しません）");
}

FileWriter &TagFile::writer() const
{
    return m_writer ? *m_writer : FileWriter::system();
}

QString TagFile::load(const QString &path)
{
    TagJournal *journal = m_journal;
    FileWriter *writer = m_writer;
    *this = TagFile();
    m_journal = journal;
    m_writer = writer;
    m_path = path;
    struct stat st;
    m_isLink = ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
    // Non-blocking, so that a pipe named like an MP3 file cannot hang the run.
    const UniqueFd fd = UniqueFd::open(path, O_RDONLY | O_NONBLOCK);
    if (!fd.ok())
        return systemError(errno);
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

QString TagFile::openForWrite(UniqueFd *fd) const
{
    if (m_isLink)
        return linkRefusal();
    *fd = UniqueFd::open(m_path, O_RDWR | O_NOFOLLOW);
    return fd->ok() ? checkUnchanged(fd->get()) : systemError(errno);
}

QString TagFile::writeTail(const QByteArray &block)
{
    UniqueFd fd;
    if (const QString error = openForWrite(&fd); !error.isEmpty())
        return error;
    if (!writer().writeAt(fd.get(), m_size - TailLength, block))
        return systemError(errno);
    m_tail = block;
    return {};
}

QString TagFile::appendTail(const QByteArray &block)
{
    UniqueFd fd;
    if (const QString error = openForWrite(&fd); !error.isEmpty())
        return error;
    // One write of 128 bytes: a full disk leaves part of it, which goes again.
    if (!writer().writeAt(fd.get(), m_size, block)) {
        const int error = errno;
        ::ftruncate(fd.get(), m_size);
        return systemError(error);
    }
    m_size += block.size();
    m_tail = block;
    return {};
}

QString TagFile::writeHead(const QByteArray &area)
{
    if (area.size() != m_head.size())
        return grow(area);
    UniqueFd fd;
    if (const QString error = openForWrite(&fd); !error.isEmpty())
        return error;
    if (!writer().writeAt(fd.get(), 0, area))
        return systemError(errno);
    m_head = area;
    return {};
}

// The grown file is first built whole beside the old one. It then takes the
// old file's place in one rename when that keeps everything the file is;
// otherwise (more hard links, an owner or attribute only the old file may
// have) it is written over the old file in place.
QString TagFile::grow(const QByteArray &area)
{
    UniqueFd source;
    if (const QString error = openForWrite(&source); !error.isEmpty())
        return error;
    struct stat st;
    if (::fstat(source.get(), &st) != 0)
        return systemError(errno);

    const qint64 audio = m_size - m_head.size();
    TagJournal::Rewrite rewrite{m_path, copyPathFor(m_path), quint64(st.st_dev), quint64(st.st_ino), m_size,
                                area.size() + audio};
    if (const QString error = m_journal ? m_journal->begin(&rewrite) : QString(); !error.isEmpty())
        return error;
    const QByteArray copyName = QFile::encodeName(rewrite.copy);
    const UniqueFd copy = UniqueFd::open(rewrite.copy, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW);
    const auto abandon = [&](int error) {
        if (copy.ok())
            ::unlink(copyName.constData());
        record(m_journal, &rewrite, TagJournal::Step::Ended);
        return systemError(error);
    };
    if (!copy.ok() || !writer().writeAt(copy.get(), 0, area)
        || !writer().copyRange(source.get(), m_head.size(), copy.get(), area.size(), audio) || ::fsync(copy.get()) != 0)
        return abandon(errno);

    if (st.st_nlink == 1 && copyIdentity(source.get(), copy.get(), st)) {
        if (::rename(copyName.constData(), QFile::encodeName(m_path).constData()) != 0)
            return abandon(errno);
        record(m_journal, &rewrite, TagJournal::Step::Ended);
    } else if (!holdsCopy(source.get(), copy.get(), area)) {
        return abandon(EIO);
    } else if (const QString error = rewriteInPlace(source.get(), copy.get(), rewrite); !error.isEmpty()) {
        return error;
    } else {
        ::unlink(copyName.constData());
        record(m_journal, &rewrite, TagJournal::Step::Ended);
    }
    syncFolder(m_path);
    m_head = area;
    m_size = rewrite.newSize;
    return {};
}

// First the file grows to its new size, its old bytes untouched, so that a
// full disk stops the rewrite before anything is lost; only then is the copy
// written over it. A failure before that point shrinks the file back and
// removes the copy; one after it keeps the copy for the next start to finish.
QString TagFile::rewriteInPlace(int fd, int copy, TagJournal::Rewrite &rewrite)
{
    const qint64 added = rewrite.newSize - rewrite.oldSize;
    QString error = record(m_journal, &rewrite, TagJournal::Step::Reserving);
    if (error.isEmpty()
        && ((!writer().reserve(fd, rewrite.oldSize, added) && errno != EOPNOTSUPP && errno != ENOSYS)
            || !writer().copyRange(copy, rewrite.oldSize, fd, rewrite.oldSize, added) || ::fdatasync(fd) != 0))
        error = systemError(errno);
    if (error.isEmpty())
        error = record(m_journal, &rewrite, TagJournal::Step::Writing);
    if (!error.isEmpty()) {
        ::ftruncate(fd, rewrite.oldSize);
        ::fsync(fd);
        ::unlink(QFile::encodeName(rewrite.copy).constData());
        record(m_journal, &rewrite, TagJournal::Step::Ended);
        return error;
    }
    if (!writer().copyRange(copy, 0, fd, 0, rewrite.oldSize) || ::fsync(fd) != 0) {
        return systemError(errno) + QStringLiteral("\r\nタグの書き換えを完了できませんでした。書き換え後の内容は ")
             + rewrite.copy + QStringLiteral(" にあります（次回の起動時に書き換えを完了します）");
    }
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
