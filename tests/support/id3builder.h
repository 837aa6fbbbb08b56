#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <algorithm>

// Builds MP3 files byte by byte for the tag tests: ID3v2 frames and tags,
// ID3v1 blocks and audio that looks like MPEG frames.
namespace Id3 {

inline QByteArray sizeBytes(qint64 size, bool syncSafe)
{
    QByteArray bytes(4, '\0');
    const int base = syncSafe ? 128 : 256;
    for (int i = 3; i >= 0; --i) {
        bytes[i] = char(size % base);
        size /= base;
    }
    return bytes;
}

// A frame of an ID3v2.3 (plain sizes) or 2.4 (sync-safe sizes) tag.
inline QByteArray frame(const QByteArray &id, const QByteArray &body, int version = 3, int flags = 0)
{
    QByteArray header = id + sizeBytes(body.size(), version == 4);
    header.append(char(flags >> 8));
    header.append(char(flags & 0xFF));
    return header + body;
}

inline QByteArray textFrame(const QByteArray &id, const QByteArray &text, int encoding = 0, int version = 3)
{
    return frame(id, char(encoding) + text, version);
}

inline QByteArray utf16le(const QString &text)
{
    QByteArray bytes("\xFF\xFE", 2);
    for (const QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

// Header, frames and padding; size counts everything after the header.
inline QByteArray tag(const QByteArray &frames, int padding, int version = 3, int flags = 0,
                      const QByteArray &extended = {})
{
    const QByteArray body = extended + frames + QByteArray(padding, '\0');
    QByteArray header("ID3");
    header.append(char(version));
    header.append('\0');
    header.append(char(flags));
    return header + sizeBytes(body.size(), true) + body;
}

inline QByteArray field(const QByteArray &text, int length)
{
    return text.left(length) + QByteArray(std::max<qsizetype>(0, length - text.size()), '\0');
}

inline QByteArray v1(const QByteArray &title, const QByteArray &artist = {}, const QByteArray &album = {},
                     const QByteArray &year = {}, const QByteArray &comment = {}, int genre = 255)
{
    QByteArray block = "TAG" + field(title, 30) + field(artist, 30) + field(album, 30) + field(year, 4)
                       + field(comment, 28) + QByteArray(2, '\0');
    block.append(char(genre));
    return block;
}

// Bytes that stand for audio: MPEG frame sync words and a fixed pseudo-random fill.
inline QByteArray audio(int size, quint32 seed = 1)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i) {
        seed = seed * 1664525u + 1013904223u;
        bytes[i] = char(i % 417 == 0 ? 0xFF : seed >> 24);
    }
    return bytes;
}

inline bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

inline QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace Id3
