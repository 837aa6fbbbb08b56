#include "tags/id3v2tag.h"

#include "tags/tagtext.h"

#include <algorithm>

namespace {

bool isFrameId(const QByteArray &id)
{
    return std::all_of(id.cbegin(), id.cend(),
                       [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
}

QString v22FrameId(const QByteArray &id)
{
    static const char *const pairs[][2] = {
        {"TT2", "TIT2"}, {"TP1", "TPE1"}, {"TAL", "TALB"}, {"TCO", "TCON"}, {"TEN", "TENC"},
        {"TRK", "TRCK"}, {"TYE", "TYER"}, {"COM", "COMM"}, {"TLE", "TLEN"},
    };
    for (const auto &pair : pairs) {
        if (id == pair[0])
            return QString::fromLatin1(pair[1]);
    }
    return QString::fromLatin1(id);
}

// Undoes unsynchronisation: every FF 00 becomes FF.
QByteArray removeUnsync(const QByteArray &bytes)
{
    QByteArray out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        out.append(bytes[i]);
        if (uchar(bytes[i]) == 0xFF && i + 1 < bytes.size() && bytes[i + 1] == 0)
            ++i;
    }
    return out;
}

const QString NotUnderstood = QStringLiteral("タグのフレーム構造を解釈できないため書き換えできません");

} // namespace

qint32 ByteToLong(const QByteArray &bytes, int start, int length, bool syncSafe)
{
    if (length > 4 || start < 0 || length < 0 || qint64(start) + length > bytes.size())
        return 0;
    quint32 value = 0;
    for (int i = start; i < start + length; ++i)
        value = syncSafe ? value * 128 + (uchar(bytes[i]) & 0x7F) : value * 256 + uchar(bytes[i]);
    return qint32(value);
}

void LongToByte(QByteArray &bytes, int start, int length, qint64 value, bool syncSafe)
{
    if (length > 4 || start < 0 || length < 0 || qint64(start) + length > bytes.size())
        return;
    const qint64 base = syncSafe ? 128 : 256;
    for (int i = start + length - 1; i >= start; --i) {
        bytes[i] = char(value % base);
        value /= base;
    }
}

void Id3v2Tag::refuse(const QString &reason)
{
    if (m_refusal.isEmpty())
        m_refusal = reason;
}

void Id3v2Tag::parse(const QByteArray &buffer)
{
    *this = Id3v2Tag();
    if (buffer.size() < 10 || !buffer.startsWith("ID3"))
        return;
    m_version = uchar(buffer[3]);
    m_size = ByteToLong(buffer, 6, 4, true);
    m_headerLength = 10;
    m_framesEnd = 10;
    m_header = buffer.left(10);
    QByteArray data = buffer.left(qint64(m_size) + 10);
    if (!parseHeader(data))
        return;
    if (m_headerLength > data.size()) {
        refuse(NotUnderstood);
        m_headerLength = 10;
        return;
    }
    m_header = data.left(m_headerLength);
    parseFrames(data);
}

void Id3v2Tag::create()
{
    *this = Id3v2Tag();
    m_version = 3;
    m_header = QByteArray("ID3\x03\0\0\0\0\0\0", 10);
    m_headerLength = 10;
    m_framesEnd = 10;
}

// Checks the header flags and finds the extended header; false when no frame can be read.
bool Id3v2Tag::parseHeader(QByteArray &data)
{
    const int flags = uchar(data[5]);
    if ((data[6] | data[7] | data[8] | data[9]) & 0x80)
        refuse(QStringLiteral("タグヘッダーのサイズが不正なため書き換えできません"));
    if (m_version < 2 || m_version > 4) {
        refuse(QStringLiteral("ID3v2.%1 のタグには対応していないため書き換えできません").arg(m_version));
        return false;
    }
    const bool unsync = flags & 0x80;
    if (unsync) {
        refuse(QStringLiteral("非同期化されたタグは書き換えできません"));
        // Before ID3v2.4 the whole tag is unsynchronised; 2.4 does it per frame.
        if (m_version < 4)
            data = data.left(10) + removeUnsync(data.mid(10));
    }
    m_frameUnsync = unsync && m_version == 4;
    if (m_version == 2) {
        refuse(QStringLiteral("ID3v2.2 のタグは書き換えできません"));
        return !(flags & 0x40); // a compressed 2.2 tag cannot be read
    }
    if (flags & ~(m_version == 3 ? 0xE0 : 0xF0))
        refuse(QStringLiteral("未対応のフラグを持つタグは書き換えできません"));
    if (m_version == 4 && (flags & 0x10))
        refuse(QStringLiteral("フッター付きのタグは書き換えできません"));
    if (!(flags & 0x40))
        return true;
    const QString extended = QStringLiteral("拡張ヘッダーを信頼できないためタグを書き換えできません");
    if (m_version == 3) {
        const qint32 size = ByteToLong(data, 10, 4, false);
        // Six bytes (flags and padding size, no checksum) is the one form
        // Corvane keeps up to date when it rewrites the tag.
        if (size == 6 && data.size() >= 20 && !(uchar(data[14]) & 0x80)) {
            m_headerLength = 20;
            return true;
        }
        refuse(extended);
        if (size != 10)
            return false;
        m_headerLength = 24;
        return true;
    }
    const qint32 size = ByteToLong(data, 10, 4, true);
    refuse(extended);
    if (size < 6 || size + 10 > data.size())
        return false;
    m_headerLength = 10 + size;
    return true;
}

void Id3v2Tag::parseFrames(const QByteArray &data)
{
    const int idLength = m_version == 2 ? 3 : 4;
    const int frameHeader = m_version == 2 ? 6 : 10;
    const qint64 tagEnd = data.size();
    qint64 position = m_headerLength;
    bool understood = true;
    while (position + idLength <= tagEnd) {
        const QByteArray id = data.mid(position, idLength);
        if (id.count('\0') == idLength)
            break; // padding
        if (position + frameHeader > tagEnd || !isFrameId(id)) {
            understood = false;
            break;
        }
        qint64 size = 0;
        if (m_version == 2) {
            size = ByteToLong(data, int(position) + 3, 3, false);
        } else if (m_version == 3) {
            size = quint32(ByteToLong(data, int(position) + 4, 4, false));
        } else {
            const QByteArray raw = data.mid(position + 4, 4);
            if ((raw[0] | raw[1] | raw[2] | raw[3]) & 0x80) {
                understood = false;
                break;
            }
            size = ByteToLong(data, int(position) + 4, 4, true);
        }
        if (position + frameHeader + size > tagEnd) {
            understood = false;
            break;
        }
        if (size > 0) {
            Frame frame;
            frame.bytes = data.mid(position, frameHeader + size);
            frame.id = m_version == 2 ? v22FrameId(id) : QString::fromLatin1(id);
            frame.headerLength = frameHeader;
            if (m_version > 2)
                frame.flags = uchar(data[position + 8]) << 8 | uchar(data[position + 9]);
            m_frames.push_back(std::move(frame));
        }
        position += frameHeader + size;
    }
    m_framesEnd = int(std::min(position, tagEnd));
    if (!understood)
        refuse(NotUnderstood);
}

QString Id3v2Tag::idOf(const QString &name) const
{
    static const char16_t *const ids[][2] = {
        {u"title", u"TIT2"},  {u"artist", u"TPE1"},  {u"album", u"TALB"},    {u"genre", u"TCON"},
        {u"encode", u"TENC"}, {u"truckno", u"TRCK"}, {u"year", u"TYER"},     {u"duration", u"TLEN"},
        {u"comment", u"COMM"},
    };
    for (const auto &pair : ids) {
        if (name == QStringView(pair[0])) {
            // ID3v2.4 replaced the year frame by the recording time.
            if (name == u"year" && m_version == 4)
                return QStringLiteral("TDRC");
            return QString::fromUtf16(pair[1]);
        }
    }
    return {};
}

int Id3v2Tag::frameNo(const QString &id) const
{
    if (id.isEmpty())
        return 0;
    // Frame ids are stored in upper case, so one conversion makes every comparison exact.
    const QString wanted = id.toUpper();
    for (std::size_t i = 0; i < m_frames.size(); ++i) {
        if (m_frames[i].id == wanted)
            return int(i) + 1;
    }
    return 0;
}

const Id3v2Tag::Frame *Id3v2Tag::findFrame(const QString &id) const
{
    const int index = frameNo(id);
    return index > 0 ? &m_frames[std::size_t(index - 1)] : nullptr;
}

QByteArray Id3v2Tag::frameBody(const Frame &frame) const
{
    QByteArray body = frame.bytes.mid(frame.headerLength);
    if (m_version == 3) {
        if (frame.flags & 0x00C0)
            return {}; // compressed or encrypted
        if (frame.flags & 0x0020)
            body.remove(0, 1); // group id
    } else if (m_version == 4) {
        if (frame.flags & 0x000C)
            return {};
        if (frame.flags & 0x0040)
            body.remove(0, 1);
        if (frame.flags & 0x0001)
            body.remove(0, 4); // data length indicator
        if ((frame.flags & 0x0002) || m_frameUnsync)
            body = removeUnsync(body);
    }
    return body;
}

QString Id3v2Tag::text(const QString &id) const
{
    const Frame *frame = findFrame(id);
    if (!frame)
        return {};
    const QByteArray body = frameBody(*frame);
    if (body.isEmpty())
        return {};
    const int encoding = uchar(body[0]);
    if (frame->id != u"COMM")
        return TagText::decodeStrings(QByteArrayView(body).sliced(1), encoding);
    // encoding, language, short description, then the text
    const qsizetype end = TagText::findTerminator(body, 4, encoding);
    if (body.size() < 4 || end < 0)
        return {};
    return TagText::decodeStrings(QByteArrayView(body).sliced(end + TagText::terminatorWidth(encoding)), encoding);
}

void Id3v2Tag::setText(const QString &id, const QString &value)
{
    if (id.isEmpty())
        return;
    const int index = frameNo(id);
    if (index == 0 && value.isEmpty())
        return; // no empty frame is created
    if (index > 0 && text(id) == value)
        return; // unchanged frames keep their bytes

    QByteArray body;
    if (id.compare(u"COMM", Qt::CaseInsensitive) == 0) {
        body = commentBody(value, index);
    } else {
        const int encoding = TagText::encodingFor(value, m_version);
        body.append(char(encoding)).append(TagText::encode(value, encoding));
    }
    Frame frame;
    frame.id = id.toUpper();
    frame.bytes = encodeFrame(frame.id, body);
    if (index > 0)
        m_frames[std::size_t(index - 1)] = frame;
    else
        m_frames.push_back(frame);
    m_changed = true;
}

// An existing comment keeps its language and description.
QByteArray Id3v2Tag::commentBody(const QString &value, int index) const
{
    QByteArray language("jpn");
    QString description;
    if (index > 0) {
        const QByteArray old = frameBody(m_frames[std::size_t(index - 1)]);
        if (old.size() >= 4) {
            const int oldEncoding = uchar(old[0]);
            language = old.mid(1, 3);
            const qsizetype end = TagText::findTerminator(old, 4, oldEncoding);
            if (end >= 0)
                description = TagText::decode(QByteArrayView(old).sliced(4, end - 4), oldEncoding);
        }
    }
    const int encoding = TagText::encodingFor(description + value, m_version);
    QByteArray body;
    body.append(char(encoding)).append(language);
    body.append(TagText::encode(description, encoding));
    body.append(TagText::terminatorWidth(encoding), '\0');
    body.append(TagText::encode(value, encoding));
    return body;
}

QByteArray Id3v2Tag::encodeFrame(const QString &id, const QByteArray &body) const
{
    QByteArray header(10, '\0');
    header.replace(0, 4, id.toLatin1().left(4));
    LongToByte(header, 4, 4, body.size(), m_version == 4);
    return header + body;
}

QList<QByteArray> Id3v2Tag::frames() const
{
    QList<QByteArray> all;
    for (const Frame &frame : m_frames)
        all << frame.bytes;
    return all;
}

qint64 Id3v2Tag::needed() const
{
    qint64 length = m_headerLength;
    for (const Frame &frame : m_frames)
        length += frame.bytes.size();
    return length;
}

QByteArray Id3v2Tag::rebuilt(qint64 area) const
{
    QByteArray tag = m_header;
    LongToByte(tag, 6, 4, area - 10, true);
    // A trusted ID3v2.3 extended header counts the padding.
    if (tag.size() == 20)
        LongToByte(tag, 16, 4, area - needed(), false);
    for (const Frame &frame : m_frames)
        tag += frame.bytes;
    // All the rest becomes zero padding: left-over bytes behind the new frames
    // would otherwise read as frames of their own.
    tag.append(area - tag.size(), '\0');
    return tag;
}

void Id3v2Tag::written(qint64 area)
{
    const QByteArray tag = rebuilt(area);
    m_header = tag.left(m_headerLength);
    m_size = int(area - 10);
    m_framesEnd = int(needed());
    m_changed = false;
}
