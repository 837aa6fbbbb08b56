#include "platform/filewriter.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr qint64 PieceSize = 1 << 20;

// Repeats a read or write of the bytes from done on until length are done;
// false with errno set (EIO where the file ended first).
template <class Transfer>
bool whole(qint64 length, Transfer transfer)
{
    qint64 done = 0;
    while (done < length) {
        const ssize_t n = transfer(done);
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

} // namespace

bool FileWriter::writeAt(int fd, qint64 offset, const QByteArray &bytes)
{
    return whole(bytes.size(), [&](qint64 done) {
        return ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), off_t(offset + done));
    });
}

bool FileWriter::append(int fd, const QByteArray &bytes)
{
    return whole(bytes.size(), [&](qint64 done) {
        return ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
    });
}

bool FileWriter::reserve(int fd, qint64 offset, qint64 length)
{
    int result;
    do
        result = ::fallocate(fd, 0, off_t(offset), off_t(length));
    while (result != 0 && errno == EINTR);
    return result == 0;
}

bool FileWriter::copyRange(int from, qint64 fromOffset, int to, qint64 toOffset, qint64 length)
{
    QByteArray piece;
    for (qint64 done = 0; done < length; done += PieceSize) {
        const qint64 part = std::min(PieceSize, length - done);
        if (!readAt(from, fromOffset + done, part, piece) || !writeAt(to, toOffset + done, piece))
            return false;
    }
    return true;
}

bool FileWriter::readAt(int fd, qint64 offset, qint64 length, QByteArray &out)
{
    out.resize(length);
    return whole(length, [&](qint64 done) {
        return ::pread(fd, out.data() + done, size_t(length - done), off_t(offset + done));
    });
}

FileWriter &FileWriter::system()
{
    static FileWriter writer;
    return writer;
}
