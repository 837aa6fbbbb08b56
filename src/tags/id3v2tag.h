#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <vector>

// Big-endian numbers of up to 4 bytes inside bytes; 7 bits a byte when
// syncSafe. Out of range reads give 0 and writes do nothing.
qint32 ByteToLong(const QByteArray &bytes, int start, int length, bool syncSafe);
void LongToByte(QByteArray &bytes, int start, int length, qint64 value, bool syncSafe);

// The ID3v2 tag at the start of an MP3 file, parsed from and rebuilt into
// bytes. Frames the caller does not change keep their bytes, in file order.
// A tag whose layout is not fully understood (ID3v2.2, unsynchronisation, an
// untrusted extended header, a footer, frames that do not parse) is read but
// refused for writing.
class Id3v2Tag
{
public:
    // Reads buffer: the tag header and its area. Anything that is no tag leaves this empty.
    void parse(const QByteArray &buffer);

    bool exists() const { return !m_header.isEmpty(); }
    // An empty ID3v2.3 tag for a file that has none; it is written once it
    // holds a frame.
    void create();
    int version() const { return m_version; }
    // The frame id of a lower-case field name ("title" -> "TIT2"); empty for
    // names without one. In an ID3v2.4 tag the year lives in "TDRC".
    QString idOf(const QString &name) const;
    // 1-based index of the first frame with id, ignoring case; 0 when none.
    int frameNo(const QString &id) const;
    // The text of the first frame with id; for "COMM" the text after language and description.
    QString text(const QString &id) const;
    // Sets the first frame with id, or appends one; an empty value creates no
    // frame and an unchanged value changes no byte. Text that is not plain
    // ASCII is written as UTF-16 (ID3v2.3) or UTF-8 (ID3v2.4).
    void setText(const QString &id, const QString &value);

    // Why this tag must not be rewritten; empty when it may be.
    QString refusal() const { return m_refusal; }
    bool changed() const { return m_changed; }

    // The tag area the file has: header and size bytes.
    qint64 area() const { return qint64(m_size) + 10; }
    // The length of the tag with its frames and no padding.
    qint64 needed() const;
    // The header and frames, zero-padded to area bytes; the size fields follow.
    QByteArray rebuilt(qint64 area) const;
    // The tag as rebuilt(area) has been written to the file.
    void written(qint64 area);

    QByteArray header() const { return m_header; }
    QList<QByteArray> frames() const;
    int size() const { return m_size; }
    int headerLength() const { return m_headerLength; }
    int framesEnd() const { return m_framesEnd; }

private:
    struct Frame
    {
        QByteArray bytes;      // the whole frame: header and body
        QString id;            // four letters; ID3v2.2 ids are mapped where known
        int headerLength = 10; // 6 in ID3v2.2
        int flags = 0;         // the two flag bytes, big-endian
    };

    void refuse(const QString &reason);
    bool parseHeader(QByteArray &data);
    void parseFrames(const QByteArray &data);
    const Frame *findFrame(const QString &id) const;
    QByteArray frameBody(const Frame &frame) const;
    QByteArray commentBody(const QString &value, int index) const;
    QByteArray encodeFrame(const QString &id, const QByteArray &body) const;

    int m_version = 0;
    QByteArray m_header;
    int m_size = 0;
    int m_headerLength = 0;
    std::vector<Frame> m_frames;
    int m_framesEnd = 0;
    QString m_refusal;
    bool m_frameUnsync = false; // an ID3v2.4 tag unsynchronised as a whole
    bool m_changed = false;
};
