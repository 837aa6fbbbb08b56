#pragma once

#include <QByteArray>
#include <QString>

// The 128-byte ID3v1 block at the end of an MP3 file, held in memory. Fields
// are named in lower case: "title", "artist", "album", "year", "comment" and
// "genre"; the two bytes before the genre (the ID3v1.1 track) are never touched.
class Id3v1Block
{
public:
    static constexpr int Length = 128;

    // Takes block when it is one (128 bytes starting with "TAG"); false otherwise.
    bool read(const QByteArray &block);
    bool exists() const { return !m_block.isEmpty(); }
    // An empty block for a file that has none: no text, no genre. It counts
    // as changed once a field is set.
    void create();
    // Made by create() and not yet written.
    bool isNew() const { return m_new; }

    // The field's text, trimmed; the genre as its name, empty for 255 (none).
    QString field(const QString &name) const;
    // Changes a field unless it already shows value, so that an untouched field
    // keeps its bytes. False when characters had to be replaced by '?'.
    bool setField(const QString &name, const QString &value);

    const QByteArray &bytes() const { return m_block; }
    bool changed() const { return m_block != m_asRead; }
    // The block as it now stands on disk.
    void written()
    {
        m_asRead = m_block;
        m_new = false;
    }

private:
    void setGenre(const QString &value);

    QByteArray m_block;
    QByteArray m_asRead;
    bool m_new = false;
};
