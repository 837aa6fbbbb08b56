#pragma once

#include <QByteArray>
#include <QString>

// The parts of one MP3 file that hold its tags: the ID3v2 area at the start
// and the last 128 bytes. Writing never touches the audio, refuses a file that
// changed since it was loaded, and keeps the file itself: its other hard
// links, owner, mode, ACLs and extended attributes. At every moment of a
// write one whole version of the file is on disk.
class TagFile
{
public:
    static constexpr int TailLength = 128;

    // Reads the tag parts of path; empty on success, else the reason. What
    // was read before a failure stays.
    QString load(const QString &path);

    qint64 size() const { return m_size; }
    // The ID3v2 tag area, header included; empty when the file starts with none.
    const QByteArray &head() const { return m_head; }
    // The last 128 bytes; empty when the file is shorter or they lie inside the head.
    const QByteArray &tail() const { return m_tail; }

    // Both return an empty text on success, else the reason.
    QString writeTail(const QByteArray &block);
    // Replaces the head by area; a longer area moves the audio back.
    QString writeHead(const QByteArray &area);

private:
    QString checkUnchanged(int fd) const;
    QString grow(const QByteArray &area);
    bool holdsCopy(int fd, int temp, const QByteArray &area) const;

    QString m_path;
    qint64 m_size = 0;
    QByteArray m_head;
    QByteArray m_tail;
};
