#pragma once

#include "tags/id3v1block.h"
#include "tags/id3v2tag.h"
#include "tags/tagfile.h"

#include <QByteArray>
#include <QList>
#include <QString>

class UserChannel;

// The ID3v1 block and the ID3v2 tag of one MP3 file. Setting FilePath loads
// both into memory; the field properties read and change them there; UpdateTAG1
// and UpdateID3 write them back. A tag the file does not have is made only
// when asked for (addMissingTags), and written only once it holds a field.
// The block, the tag and the file access are classes of their own; this is
// the front the MP3 job talks to.
class clsTAG
{
public:
    // Load failures are shown through user ("TAG読込"); none shows nothing.
    explicit clsTAG(UserChannel *user = nullptr);

    bool Tg1_IsExist() const { return m_tag1.exists(); }
    QString TAG1_DATA(const QString &name) const;
    void setTAG1_DATA(const QString &name, const QString &value);
    // Some ID3v1 field got '?' for characters no ID3v1 text can hold.
    bool tag1Replaced() const { return m_tag1Replaced; }

    QString GetID(const QString &name) const { return m_id3.idOf(name.toLower()); }

    bool ID3_IsExist() const { return m_id3.exists(); }
    int ID3_Ver() const { return m_id3.version(); }
    int ID3_FrameNo(const QString &id) const { return m_id3.frameNo(id); }
    QString ID3_DATA(const QString &name) const;
    void setID3_DATA(const QString &name, const QString &value);

    QString FilePath() const { return m_FilePath; }
    // Loads path. On failure the message is shown, what was read before the
    // failure stays, and false is returned; loadError() tells why.
    bool setFilePath(const QString &path);
    QString loadError() const { return m_loadError; }
    // Why the loaded file is never written, when its path is a symbolic link; else empty.
    QString linkRefusal() const { return m_file.isLink() ? TagFile::linkRefusal() : QString(); }
    // Where rewrites that move the audio are recorded, and what makes their
    // writes; both stay set across loads.
    void setJournal(TagJournal *journal) { m_file.setJournal(journal); }
    void setWriter(FileWriter *writer) { m_file.setWriter(writer); }
    // Gives the loaded file an empty ID3v1 block (v1) and ID3v2.3 tag (v2)
    // where it has none; true when it made one.
    bool addMissingTags(bool v1, bool v2);

    // Write the loaded tags back into path. Both return an empty text on
    // success (including "nothing to write") and the reason otherwise; a
    // failed write leaves the file as it was.
    QString UpdateTAG1(const QString &path);
    QString UpdateID3(const QString &path);

    QString id3Refusal() const { return m_id3.refusal(); }
    bool id3Changed() const { return m_id3.changed(); }
    bool tag1Changed() const { return m_tag1.changed(); }

    // The loaded state as raw bytes.
    QByteArray Tag1Block() const { return m_tag1.bytes(); }
    QByteArray ID3Header() const { return m_id3.header(); }
    QList<QByteArray> ID3Frames() const { return m_id3.frames(); }
    int ID3Size() const { return m_id3.size(); }
    int ID3HeaderLength() const { return m_id3.headerLength(); }
    int ID3FramesEnd() const { return m_id3.framesEnd(); }

    void ParseID3(const QByteArray &buffer) { m_id3.parse(buffer); }
    void ParseTag1(const QByteArray &block) { m_tag1.read(block); }

private:
    bool fail(const QString &reason);

    UserChannel *m_user = nullptr;
    QString m_FilePath;
    QString m_loadError;
    TagFile m_file;
    Id3v1Block m_tag1;
    Id3v2Tag m_id3;
    bool m_tag1Replaced = false;
};
