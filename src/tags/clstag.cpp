#include "tags/clstag.h"

#include "platform/codepage.h"
#include "platform/fsstatus.h"
#include "platform/pathtext.h"
#include "platform/showmessage.h"
#include "tags/genretable.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString CrLf = QStringLiteral("\r\n");
constexpr int Tag1Length = 128;
// Fresh padding when a tag has to grow, so the next few edits fit in place.
constexpr int GrowthPadding = 2048;
constexpr qint64 MaxSyncSafe = 0x0FFFFFFF;

struct FixedField
{
    QString name;
    int offset;
    int length;
};

const FixedField *fixedField(const QString &name)
{
    static const FixedField fields[] = {
        {QStringLiteral("title"), 3, 30},  {QStringLiteral("artist"), 33, 30}, {QStringLiteral("album"), 63, 30},
        {QStringLiteral("year"), 93, 4},   {QStringLiteral("comment"), 97, 28},
    };
    for (const FixedField &field : fields) {
        if (name == field.name)
            return &field;
    }
    return nullptr;
}

// The frame id as text; the ids the lists show share one copy.
QString frameIdText(const QByteArray &id)
{
    static const QString common[] = {
        QStringLiteral("TIT2"), QStringLiteral("TPE1"), QStringLiteral("TALB"), QStringLiteral("TCON"),
        QStringLiteral("TENC"), QStringLiteral("TRCK"), QStringLiteral("TYER"), QStringLiteral("TDRC"),
        QStringLiteral("COMM"), QStringLiteral("TLEN"), QStringLiteral("APIC"),
    };
    for (const QString &known : common) {
        if (QLatin1StringView(id) == known)
            return known;
    }
    return QString::fromLatin1(id);
}

// Tag text is mostly ASCII, which reads the same in code page 932; the fast
// path keeps loading many files close to the cost of reading their bytes.
QString fromCodePage(QByteArrayView bytes)
{
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; }))
        return QString::fromLatin1(bytes);
    return CodePage::fromCp932(bytes.toByteArray());
}

QString systemError(int error)
{
    return FsStatus::fromErrno(error).text();
}

QString StripNul(QString text)
{
    if (text.contains(QChar(u'\0')))
        text.remove(QChar(u'\0'));
    return text;
}

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

bool isUtf16(int encoding)
{
    return encoding == 1 || encoding == 2;
}

// Where the string starting at from ends; -1 when it runs to the end.
qsizetype findTerminator(QByteArrayView bytes, qsizetype from, int encoding)
{
    if (!isUtf16(encoding))
        return bytes.indexOf('\0', from);
    for (qsizetype i = from; i + 1 < bytes.size(); i += 2) {
        if (bytes[i] == 0 && bytes[i + 1] == 0)
            return i;
    }
    return -1;
}

QString decodeString(QByteArrayView bytes, int encoding)
{
    switch (encoding) {
    case 1:
        if (bytes.startsWith("\xFE\xFF"))
            return QStringDecoder(QStringDecoder::Utf16BE).decode(bytes.sliced(2));
        if (bytes.startsWith("\xFF\xFE"))
            return QStringDecoder(QStringDecoder::Utf16LE).decode(bytes.sliced(2));
        return QStringDecoder(QStringDecoder::Utf16LE).decode(bytes);
    case 2:
        return QStringDecoder(QStringDecoder::Utf16BE).decode(bytes);
    case 3:
        return QString::fromUtf8(bytes);
    default:
        // Encoding 0 officially means ISO-8859-1; the files Corvane serves
        // store code page 932 there.
        return fromCodePage(bytes);
    }
}

// The strings of a text frame: terminators at the end are dropped, several
// values (ID3v2.4 separates them with NUL) are shown joined by "/".
QString decodeStrings(QByteArrayView bytes, int encoding)
{
    if (findTerminator(bytes, 0, encoding) < 0)
        return decodeString(bytes, encoding);
    QStringList parts;
    const int width = isUtf16(encoding) ? 2 : 1;
    qsizetype from = 0;
    while (from < bytes.size()) {
        const qsizetype end = findTerminator(bytes, from, encoding);
        if (end < 0) {
            parts << decodeString(bytes.sliced(from), encoding);
            break;
        }
        parts << decodeString(bytes.sliced(from, end - from), encoding);
        from = end + width;
    }
    while (!parts.isEmpty() && parts.constLast().isEmpty())
        parts.removeLast();
    return parts.join(u'/');
}

bool cp932Keeps(const QString &text)
{
    bool lossless = false;
    const QByteArray bytes = CodePage::toCp932(text, &lossless);
    return lossless && CodePage::fromCp932(bytes) == text;
}

// A string as written into a frame: code page 932 under encoding 0,
// UTF-16 with its byte-order mark under encoding 1.
QByteArray encodeString(const QString &text, int encoding)
{
    if (encoding == 0)
        return CodePage::toCp932(text);
    QByteArray bytes("\xFF\xFE", 2);
    for (const QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

// The code page 932 bytes of text, cut to at most length bytes at a character
// boundary, so no half of a double-byte character is left behind.
QByteArray fitCp932(const QString &text, int length)
{
    QByteArray bytes = CodePage::toCp932(text);
    if (bytes.size() <= length)
        return bytes;
    bytes.clear();
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype width = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QByteArray one = CodePage::toCp932(text.mid(i, width));
        if (bytes.size() + one.size() > length)
            break;
        bytes += one;
        i += width;
    }
    return bytes;
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

const QString ChangedSinceLoad = QStringLiteral("読み込んだ後にファイルが変更されたため書き込みません");

} // namespace

clsTAG::clsTAG(UserChannel *user)
    : m_user(user)
{
}

void clsTAG::reset(const QString &path)
{
    *this = clsTAG(m_user);
    m_FilePath = path;
}

bool clsTAG::fail(const QString &reason)
{
    m_loadError = reason;
    if (m_user)
        ShowPlainMessage(*m_user, reason + CrLf + CrLf + m_FilePath, QStringLiteral("TAG読込"));
    return false;
}

bool clsTAG::setFilePath(const QString &path)
{
    reset(path);
    // Non-blocking, so that a pipe named like an MP3 file cannot hang the run.
    const Fd fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.ok())
        return fail(systemError(errno));
    struct stat st;
    if (::fstat(fd.get(), &st) != 0)
        return fail(systemError(errno));
    if (S_ISDIR(st.st_mode))
        return fail(systemError(EISDIR));
    if (!S_ISREG(st.st_mode))
        return fail(systemError(EINVAL));
    m_fileSize = st.st_size;

    // One read takes the header and, for most files, the whole tag.
    constexpr qint64 FirstRead = 4096;
    QByteArray bytes;
    qint64 tagArea = 0;
    if (m_fileSize >= 10) {
        if (!readAt(fd.get(), 0, std::min(m_fileSize, FirstRead), bytes))
            return fail(systemError(errno));
        if (bytes.startsWith("ID3")) {
            tagArea = qint64(ByteToLong(bytes, 6, 4, true)) + 10;
            if (tagArea > m_fileSize)
                return fail(QStringLiteral("ID3v2 タグのサイズがファイルの長さを超えています"));
            if (tagArea > bytes.size() && !readAt(fd.get(), 0, tagArea, bytes))
                return fail(systemError(errno));
            bytes.truncate(tagArea);
            ParseID3(bytes);
        }
    }

    if (m_fileSize < Tag1Length)
        return fail(QStringLiteral("ファイルが 128 バイトより短いため ID3v1 タグを読めません"));
    const qint64 tag1Offset = m_fileSize - Tag1Length;
    // A block inside the ID3v2 tag area is not an ID3v1 tag: writing it would break that tag.
    if (tag1Offset >= tagArea) {
        if (!readAt(fd.get(), tag1Offset, Tag1Length, bytes))
            return fail(systemError(errno));
        ParseTag1(bytes);
    }
    return true;
}

void clsTAG::ParseTag1(const QByteArray &block)
{
    if (block.size() != Tag1Length || !block.startsWith("TAG"))
        return;
    m_Tag1Block = block;
    m_tag1AsRead = block;
    m_Tag1Mark = QStringLiteral("TAG");
}

void clsTAG::ParseID3(const QByteArray &buffer)
{
    if (buffer.size() < 10 || !buffer.startsWith("ID3"))
        return;
    const auto refuse = [this](const QString &reason) {
        if (m_id3Refusal.isEmpty())
            m_id3Refusal = reason;
    };
    m_ID3Mark = QStringLiteral("ID3");
    const int version = uchar(buffer[3]);
    const int flags = uchar(buffer[5]);
    m_ID3Version = QString::number(version);
    m_ID3Size = ByteToLong(buffer, 6, 4, true);
    m_ID3HeaderLength = 10;
    m_ID3FramesEnd = 10;
    m_ID3Header = buffer.left(10);
    if ((buffer[6] | buffer[7] | buffer[8] | buffer[9]) & 0x80)
        refuse(QStringLiteral("タグヘッダーのサイズが不正なため書き換えできません"));
    if (version < 2 || version > 4) {
        refuse(QStringLiteral("ID3v2.%1 のタグには対応していないため書き換えできません").arg(version));
        return;
    }

    QByteArray data = buffer;
    if (data.size() > qint64(m_ID3Size) + 10)
        data.truncate(qint64(m_ID3Size) + 10);
    const bool unsync = flags & 0x80;
    if (unsync) {
        refuse(QStringLiteral("非同期化されたタグは書き換えできません"));
        // Before ID3v2.4 the whole tag is unsynchronised; 2.4 does it per frame.
        if (version < 4)
            data = data.left(10) + removeUnsync(data.mid(10));
    }
    if (version == 2) {
        refuse(QStringLiteral("ID3v2.2 のタグは書き換えできません"));
        if (flags & 0x40)
            return; // a compressed 2.2 tag cannot be read
    } else {
        if (flags & ~(version == 3 ? 0xE0 : 0xF0))
            refuse(QStringLiteral("未対応のフラグを持つタグは書き換えできません"));
        if (version == 4 && (flags & 0x10))
            refuse(QStringLiteral("フッター付きのタグは書き換えできません"));
        if (flags & 0x40) {
            const QString extended = QStringLiteral("拡張ヘッダーを信頼できないためタグを書き換えできません");
            if (version == 3) {
                const qint32 size = ByteToLong(data, 10, 4, false);
                // Six bytes (flags and padding size, no checksum) is the one
                // form Corvane keeps up to date when it rewrites the tag.
                if (size == 6 && data.size() >= 20 && !(uchar(data[14]) & 0x80)) {
                    m_ID3HeaderLength = 20;
                } else if (size == 10) {
                    m_ID3HeaderLength = 24;
                    refuse(extended);
                } else {
                    refuse(extended);
                    return;
                }
            } else {
                const qint32 size = ByteToLong(data, 10, 4, true);
                refuse(extended);
                if (size < 6 || size + 10 > data.size())
                    return;
                m_ID3HeaderLength = 10 + size;
            }
        }
    }
    if (m_ID3HeaderLength > data.size()) {
        refuse(QStringLiteral("タグのフレーム構造を解釈できないため書き換えできません"));
        m_ID3HeaderLength = 10;
        return;
    }
    m_ID3Header = data.left(m_ID3HeaderLength);
    m_frameUnsync = unsync && version == 4;
    parseFrames(data, version);
}

void clsTAG::parseFrames(const QByteArray &data, int version)
{
    const int idLength = version == 2 ? 3 : 4;
    const int headerLength = version == 2 ? 6 : 10;
    const qint64 tagEnd = data.size();
    qint64 position = m_ID3HeaderLength;
    bool understood = true;
    while (position + idLength <= tagEnd) {
        const QByteArray id = data.mid(position, idLength);
        if (id.count('\0') == idLength)
            break; // padding
        if (position + headerLength > tagEnd || !isFrameId(id)) {
            understood = false;
            break;
        }
        qint64 size = 0;
        if (version == 2) {
            size = ByteToLong(data, int(position) + 3, 3, false);
        } else if (version == 3) {
            size = quint32(ByteToLong(data, int(position) + 4, 4, false));
        } else {
            const QByteArray raw = data.mid(position + 4, 4);
            if ((raw[0] | raw[1] | raw[2] | raw[3]) & 0x80) {
                understood = false;
                break;
            }
            size = ByteToLong(data, int(position) + 4, 4, true);
        }
        if (position + headerLength + size > tagEnd) {
            understood = false;
            break;
        }
        if (size > 0) {
            Frame frame;
            frame.bytes = data.mid(position, headerLength + size);
            frame.id = version == 2 ? v22FrameId(id) : frameIdText(id);
            frame.headerLength = headerLength;
            if (version > 2)
                frame.flags = uchar(data[position + 8]) << 8 | uchar(data[position + 9]);
            m_ID3Frames.push_back(std::move(frame));
        }
        position += headerLength + size;
    }
    m_ID3FramesEnd = int(std::min(position, tagEnd));
    if (!understood && m_id3Refusal.isEmpty())
        m_id3Refusal = QStringLiteral("タグのフレーム構造を解釈できないため書き換えできません");
}

bool clsTAG::Tg1_IsExist() const
{
    return m_Tag1Mark == u"TAG";
}

QString clsTAG::TAG1_DATA(const QString &name) const
{
    if (!Tg1_IsExist())
        return {};
    const QString key = name.toLower();
    if (key == u"path")
        return m_FilePath.trimmed();
    if (key == u"filename")
        return FileNameOf(m_FilePath).trimmed();
    if (key == u"genre")
        return GenreName(uchar(m_Tag1Block[127])).trimmed();
    if (const FixedField *field = fixedField(key))
        return StripNul(fromCodePage(QByteArrayView(m_Tag1Block).sliced(field->offset, field->length))).trimmed();
    return {};
}

void clsTAG::setTAG1_DATA(const QString &name, const QString &value)
{
    SetTag1Field(name.toLower(), value);
}

void clsTAG::SetTag1Field(const QString &name, const QString &value)
{
    // Writing back what the field shows keeps its bytes (blank padding, the
    // rest of a cut character) exactly as they are.
    if (!Tg1_IsExist() || value == TAG1_DATA(name))
        return;
    if (const FixedField *field = fixedField(name)) {
        PutFixedField(field->offset, field->length, value);
        return;
    }
    if (name != u"genre")
        return;
    QString number = value.trimmed();
    // "(200)" is how an unnamed genre number is shown; it stands for that number.
    if (number.startsWith(u'(') && number.endsWith(u')'))
        number = number.mid(1, number.size() - 2);
    bool isNumber = false;
    const double numeric = number.toDouble(&isNumber);
    int genre = -1;
    if (isNumber && numeric >= 0 && numeric <= 255)
        genre = int(std::nearbyint(numeric));
    else
        genre = GenreNo(value);
    if (genre >= 0)
        m_Tag1Block[127] = char(genre);
}

void clsTAG::PutFixedField(int offset, int length, const QString &value)
{
    QByteArray bytes = fitCp932(value, length);
    bytes.append(length - bytes.size(), '\0');
    m_Tag1Block.replace(offset, length, bytes);
}

QString clsTAG::GetID(const QString &name) const
{
    return idOf(name.toLower());
}

QString clsTAG::idOf(const QString &key) const
{
    static const QString ids[][2] = {
        {QStringLiteral("title"), QStringLiteral("TIT2")},   {QStringLiteral("artist"), QStringLiteral("TPE1")},
        {QStringLiteral("album"), QStringLiteral("TALB")},   {QStringLiteral("genre"), QStringLiteral("TCON")},
        {QStringLiteral("encode"), QStringLiteral("TENC")},  {QStringLiteral("truckno"), QStringLiteral("TRCK")},
        {QStringLiteral("year"), QStringLiteral("TYER")},    {QStringLiteral("duration"), QStringLiteral("TLEN")},
        {QStringLiteral("comment"), QStringLiteral("COMM")},
    };
    for (const auto &pair : ids) {
        if (key == pair[0]) {
            // ID3v2.4 replaced the year frame by the recording time.
            if (key == u"year" && m_ID3Version == u"4")
                return QStringLiteral("TDRC");
            return pair[1];
        }
    }
    return {};
}

bool clsTAG::ID3_IsExist() const
{
    return m_ID3Mark == u"ID3";
}

int clsTAG::ID3_Ver() const
{
    return m_ID3Version.toInt();
}

int clsTAG::ID3_FrameNo(const QString &id) const
{
    if (id.isEmpty())
        return 0;
    // Frame ids are stored in upper case, so one conversion makes every
    // comparison exact.
    const QString wanted = id.toUpper();
    for (std::size_t i = 0; i < m_ID3Frames.size(); ++i) {
        if (m_ID3Frames[i].id == wanted)
            return int(i) + 1;
    }
    return 0;
}

const clsTAG::Frame *clsTAG::findFrame(const QString &id) const
{
    const int index = ID3_FrameNo(id);
    return index > 0 ? &m_ID3Frames[std::size_t(index - 1)] : nullptr;
}

QString clsTAG::ID3_DATA(const QString &name) const
{
    const QString key = name.toLower();
    if (key == u"path")
        return m_FilePath;
    if (key == u"filename")
        return FileNameOf(m_FilePath);
    return GetFrameText(idOf(key));
}

void clsTAG::setID3_DATA(const QString &name, const QString &value)
{
    SetFrameText(GetID(name), value);
}

QList<QByteArray> clsTAG::ID3Frames() const
{
    QList<QByteArray> frames;
    for (const Frame &frame : m_ID3Frames)
        frames << frame.bytes;
    return frames;
}

QByteArray clsTAG::frameBody(const Frame &frame) const
{
    const qsizetype length = frame.bytes.size() - frame.headerLength;
    if (frame.flags == 0 && !m_frameUnsync) // the usual frame: a view, no copy
        return QByteArray::fromRawData(frame.bytes.constData() + frame.headerLength, length);
    QByteArray body = frame.bytes.mid(frame.headerLength);
    const int version = ID3_Ver();
    if (version == 3) {
        if (frame.flags & 0x00C0)
            return {}; // compressed or encrypted
        if (frame.flags & 0x0020)
            body.remove(0, 1); // group id
    } else if (version == 4) {
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

QString clsTAG::GetFrameText(const QString &id) const
{
    const Frame *frame = findFrame(id);
    if (!frame)
        return {};
    const QByteArray body = frameBody(*frame);
    if (body.isEmpty())
        return {};
    const int encoding = uchar(body[0]);
    if (frame->id != u"COMM")
        return decodeStrings(QByteArrayView(body).sliced(1), encoding);
    // encoding, language, short description, then the text
    const qsizetype end = findTerminator(body, 4, encoding);
    if (body.size() < 4 || end < 0)
        return {};
    return decodeStrings(QByteArrayView(body).sliced(end + (isUtf16(encoding) ? 2 : 1)), encoding);
}

void clsTAG::SetFrameText(const QString &id, const QString &value)
{
    if (id.isEmpty())
        return;
    const int index = ID3_FrameNo(id);
    if (index == 0 && value.isEmpty())
        return; // no empty frame is created
    if (index > 0 && GetFrameText(id) == value)
        return; // unchanged frames keep their bytes

    QByteArray body;
    if (id.compare(u"COMM", Qt::CaseInsensitive) == 0) {
        // An existing comment keeps its language and description.
        QByteArray language("jpn");
        QString description;
        if (index > 0) {
            const QByteArray old = frameBody(m_ID3Frames[std::size_t(index - 1)]);
            if (old.size() >= 4) {
                const int oldEncoding = uchar(old[0]);
                language = old.mid(1, 3);
                const qsizetype end = findTerminator(old, 4, oldEncoding);
                if (end >= 0)
                    description = decodeString(QByteArrayView(old).sliced(4, end - 4), oldEncoding);
            }
        }
        const int encoding = cp932Keeps(value) && cp932Keeps(description) ? 0 : 1;
        body.append(char(encoding));
        body.append(language);
        body.append(encodeString(description, encoding));
        body.append(encoding == 0 ? 1 : 2, '\0');
        body.append(encodeString(value, encoding));
    } else {
        const int encoding = cp932Keeps(value) ? 0 : 1;
        body.append(char(encoding));
        body.append(encodeString(value, encoding));
    }

    Frame frame;
    frame.id = id.toUpper();
    frame.bytes = encodeFrame(frame.id, body);
    if (index > 0)
        m_ID3Frames[std::size_t(index - 1)] = frame;
    else
        m_ID3Frames.push_back(frame);
    m_id3Changed = true;
}

QByteArray clsTAG::encodeFrame(const QString &id, const QByteArray &body) const
{
    QByteArray header(10, '\0');
    header.replace(0, 4, id.toLatin1().left(4));
    LongToByte(header, 4, 4, body.size(), ID3_Ver() == 4);
    return header + body;
}

QString clsTAG::UpdateTAG1(const QString &path)
{
    if (path.isEmpty() || !Tg1_IsExist() || !tag1Changed())
        return {};
    if (!m_loadError.isEmpty())
        return m_loadError; // only what was read whole is written back
    const Fd fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC));
    if (!fd.ok())
        return systemError(errno);
    struct stat st;
    if (::fstat(fd.get(), &st) != 0)
        return systemError(errno);
    QByteArray onDisk;
    if (st.st_size != m_fileSize || !readAt(fd.get(), m_fileSize - Tag1Length, Tag1Length, onDisk)
        || onDisk != m_tag1AsRead)
        return ChangedSinceLoad;
    if (!writeAt(fd.get(), m_fileSize - Tag1Length, m_Tag1Block))
        return systemError(errno);
    m_tag1AsRead = m_Tag1Block;
    return {};
}

QString clsTAG::UpdateID3(const QString &path)
{
    if (path.isEmpty() || !ID3_IsExist() || !m_id3Changed)
        return {};
    if (!m_loadError.isEmpty())
        return m_loadError;
    if (!m_id3Refusal.isEmpty())
        return m_id3Refusal;
    QByteArray frames;
    for (const Frame &frame : m_ID3Frames)
        frames += frame.bytes;
    const QString error = m_ID3HeaderLength + frames.size() <= qint64(m_ID3Size) + 10
                              ? writeInPlace(path, frames)
                              : rewriteLarger(path, frames);
    if (error.isEmpty())
        m_id3Changed = false;
    return error;
}

// The header for a tag area of size bytes after the header, with the padding
// size of a trusted ID3v2.3 extended header brought up to date.
static QByteArray headerFor(QByteArray header, qint64 size, qint64 framesLength)
{
    clsTAG::LongToByte(header, 6, 4, size, true);
    if (header.size() == 20)
        clsTAG::LongToByte(header, 16, 4, size + 10 - 20 - framesLength, false);
    return header;
}

QString clsTAG::writeInPlace(const QString &path, const QByteArray &frames)
{
    QByteArray tag = headerFor(m_ID3Header, m_ID3Size, frames.size()) + frames;
    // All the rest of the area becomes zero padding: left-over bytes behind
    // the new frames would otherwise read as frames of their own.
    tag.append(qint64(m_ID3Size) + 10 - tag.size(), '\0');
    const Fd fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC));
    if (!fd.ok())
        return systemError(errno);
    struct stat st;
    if (::fstat(fd.get(), &st) != 0)
        return systemError(errno);
    QByteArray onDisk;
    if (st.st_size != m_fileSize || !readAt(fd.get(), 0, m_ID3Header.size(), onDisk) || onDisk != m_ID3Header)
        return ChangedSinceLoad;
    if (!writeAt(fd.get(), 0, tag))
        return systemError(errno);
    m_ID3Header = tag.left(m_ID3HeaderLength);
    m_ID3FramesEnd = m_ID3HeaderLength + int(frames.size());
    return {};
}

QString clsTAG::rewriteLarger(const QString &path, const QByteArray &frames)
{
    const qint64 oldArea = qint64(m_ID3Size) + 10;
    const qint64 newSize = m_ID3HeaderLength - 10 + frames.size() + GrowthPadding;
    if (newSize > MaxSyncSafe)
        return QStringLiteral("タグが大きすぎるため書き込めません");
    // Replace the file a link points to, not the link.
    const QString target = QFileInfo(path).canonicalFilePath();
    if (target.isEmpty())
        return systemError(ENOENT);

    const Fd source(::open(QFile::encodeName(target).constData(), O_RDONLY | O_CLOEXEC));
    if (!source.ok())
        return systemError(errno);
    struct stat st;
    if (::fstat(source.get(), &st) != 0)
        return systemError(errno);
    QByteArray onDisk;
    if (st.st_size != m_fileSize || !readAt(source.get(), 0, m_ID3Header.size(), onDisk) || onDisk != m_ID3Header)
        return ChangedSinceLoad;
    if (::access(QFile::encodeName(target).constData(), W_OK) != 0)
        return systemError(errno);

    // The new file is built beside the old one and takes its place in one
    // rename, so a crash leaves either the old or the new file whole.
    QByteArray tempName = QFile::encodeName(JoinPath(FolderOf(target), u'.' + FileNameOf(target)))
                          + ".corvane-XXXXXX";
    const Fd temp(::mkstemp(tempName.data()));
    if (!temp.ok())
        return systemError(errno);
    const auto abandon = [&tempName](int error) {
        ::unlink(tempName.constData());
        return systemError(error);
    };
    if (::fchmod(temp.get(), st.st_mode & 07777) != 0)
        return abandon(errno);
    if (::fchown(temp.get(), st.st_uid, st.st_gid) != 0) {
        // Only root may give a file away; the owner stays the caller then.
    }

    QByteArray head = headerFor(m_ID3Header, newSize, frames.size()) + frames;
    head.append(newSize + 10 - head.size(), '\0');
    if (!writeAt(temp.get(), 0, head))
        return abandon(errno);
    QByteArray chunk;
    constexpr qint64 ChunkSize = 1 << 20;
    for (qint64 from = oldArea; from < st.st_size; from += ChunkSize) {
        const qint64 length = std::min(ChunkSize, st.st_size - from);
        if (!readAt(source.get(), from, length, chunk) || !writeAt(temp.get(), head.size() + from - oldArea, chunk))
            return abandon(errno);
    }
    if (::fsync(temp.get()) != 0)
        return abandon(errno);
    if (::rename(tempName.constData(), QFile::encodeName(target).constData()) != 0)
        return abandon(errno);
    const Fd folder(::open(QFile::encodeName(FolderOf(target)).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.ok())
        ::fsync(folder.get());

    m_ID3Header = head.left(m_ID3HeaderLength);
    m_ID3Size = int(newSize);
    m_ID3FramesEnd = m_ID3HeaderLength + int(frames.size());
    m_fileSize = st.st_size - oldArea + newSize + 10;
    return {};
}

QByteArray clsTAG::ByteToString(const QByteArray &bytes, int start, int length)
{
    if (start < 0 || length < 0 || qint64(start) + length > bytes.size())
        return {};
    return bytes.mid(start, length);
}

void clsTAG::StringToByte(QByteArray &bytes, int start, const QString &text)
{
    const QByteArray code = CodePage::toCp932(text);
    for (qsizetype i = 0; i < code.size() && start + i < bytes.size(); ++i)
        bytes[start + i] = code[i];
}

QByteArray clsTAG::StringToString(const QByteArray &data, int position, const QString &text)
{
    QByteArray result = data;
    StringToByte(result, position - 1, text);
    return result;
}

qint32 clsTAG::ByteToLong(const QByteArray &bytes, int start, int length, bool syncSafe)
{
    if (length > 4 || start < 0 || length < 0 || qint64(start) + length > bytes.size())
        return 0;
    quint32 value = 0;
    for (int i = start; i < start + length; ++i)
        value = syncSafe ? value * 128 + (uchar(bytes[i]) & 0x7F) : value * 256 + uchar(bytes[i]);
    return qint32(value);
}

void clsTAG::LongToByte(QByteArray &bytes, int start, int length, qint64 value, bool syncSafe)
{
    if (length > 4 || start < 0 || length < 0 || qint64(start) + length > bytes.size())
        return;
    const qint64 base = syncSafe ? 128 : 256;
    for (int i = start + length - 1; i >= start; --i) {
        bytes[i] = char(value % base);
        value /= base;
    }
}

QString clsTAG::GenreName(int number)
{
    return ::GenreName(number);
}

int clsTAG::GenreNo(const QString &name)
{
    return ::GenreNo(name);
}
