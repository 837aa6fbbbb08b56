#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <vector>

class UserChannel;

// The ID3v1 block and the ID3v2 tag of one MP3 file. Setting FilePath loads
// both into memory; the field properties read and change them there; UpdateTAG1
// and UpdateID3 write them back. A tag the file does not have is never created.
//
// What a file holds is never put at risk: frames the caller did not change are
// written back byte for byte, nothing is written when nothing changed, a tag
// whose layout is not fully understood (ID3v2.2, unsynchronisation, an
// untrusted extended header, a footer, frames that do not parse) is read but
// never rewritten, and a tag that outgrows its area is rewritten through a
// temporary file that replaces the original in one step.
class clsTAG
{
public:
    // Load failures are shown through user ("TAG読込"); none shows nothing.
    explicit clsTAG(UserChannel *user = nullptr);

    bool Tg1_IsExist() const;
    QString TAG1_DATA(const QString &name) const;
    void setTAG1_DATA(const QString &name, const QString &value);

    // The frame id of a field name ("title" -> "TIT2"); empty for names that
    // have no frame. In an ID3v2.4 tag the year lives in "TDRC".
    QString GetID(const QString &name) const;

    bool ID3_IsExist() const;
    int ID3_Ver() const;
    // 1-based index of the first frame whose id equals id ignoring case; 0 when none.
    int ID3_FrameNo(const QString &id) const;
    QString ID3_DATA(const QString &name) const;
    void setID3_DATA(const QString &name, const QString &value);

    QString FilePath() const { return m_FilePath; }
    // Loads path. On failure the message is shown, what was read before the
    // failure stays, and false is returned; loadError() tells why.
    bool setFilePath(const QString &path);
    QString loadError() const { return m_loadError; }

    // Write the loaded tags back into path. Both return an empty text on
    // success (including "nothing to write") and the reason otherwise; a
    // failed write leaves the file as it was.
    QString UpdateTAG1(const QString &path);
    QString UpdateID3(const QString &path);

    // Why the loaded ID3v2 tag must not be rewritten; empty when it may be.
    QString id3Refusal() const { return m_id3Refusal; }
    bool id3Changed() const { return m_id3Changed; }
    bool tag1Changed() const { return m_Tag1Block != m_tag1AsRead; }

    // The loaded state as raw bytes.
    QByteArray Tag1Block() const { return m_Tag1Block; }
    QByteArray ID3Header() const { return m_ID3Header; }
    QList<QByteArray> ID3Frames() const;
    int ID3Size() const { return m_ID3Size; }
    int ID3HeaderLength() const { return m_ID3HeaderLength; }
    int ID3FramesEnd() const { return m_ID3FramesEnd; }

    // Reads an ID3v2 tag from buffer (header and body) into this object.
    void ParseID3(const QByteArray &buffer);
    void ParseTag1(const QByteArray &block);

    static QByteArray ByteToString(const QByteArray &bytes, int start, int length);
    static void StringToByte(QByteArray &bytes, int start, const QString &text);
    static QByteArray StringToString(const QByteArray &data, int position, const QString &text);
    static qint32 ByteToLong(const QByteArray &bytes, int start, int length, bool syncSafe);
    static void LongToByte(QByteArray &bytes, int start, int length, qint64 value, bool syncSafe);

    static QString GenreName(int number);
    static int GenreNo(const QString &name);

private:
    struct Frame
    {
        QByteArray bytes;       // the whole frame: header and body
        QString id;             // four letters; ID3v2.2 ids are mapped where known
        int headerLength = 10;  // 6 in ID3v2.2
        int flags = 0;          // the two flag bytes, big-endian
    };

    void reset(const QString &path);
    bool fail(const QString &reason);
    void parseFrames(const QByteArray &data, int version);
    QString idOf(const QString &lowerName) const;
    const Frame *findFrame(const QString &id) const;
    QString GetFrameText(const QString &id) const;
    void SetFrameText(const QString &id, const QString &value);
    void SetTag1Field(const QString &name, const QString &value);
    void PutFixedField(int offset, int length, const QString &value);
    QByteArray frameBody(const Frame &frame) const;
    QByteArray encodeFrame(const QString &id, const QByteArray &body) const;
    QByteArray rebuiltTag() const;
    QString writeInPlace(const QString &path, const QByteArray &frames);
    QString rewriteLarger(const QString &path, const QByteArray &frames);

    UserChannel *m_user = nullptr;
    QString m_FilePath;
    QString m_loadError;
    qint64 m_fileSize = 0;

    QString m_Tag1Mark;
    QByteArray m_Tag1Block;
    QByteArray m_tag1AsRead;

    QString m_ID3Mark;
    QString m_ID3Version;
    QByteArray m_ID3Header;
    int m_ID3Size = 0;
    int m_ID3HeaderLength = 0;
    std::vector<Frame> m_ID3Frames;
    int m_ID3FramesEnd = 0;
    QString m_id3Refusal;
    bool m_frameUnsync = false; // an ID3v2.4 tag unsynchronised as a whole
    bool m_id3Changed = false;
};
