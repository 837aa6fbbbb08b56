#pragma once

#include "tags/tagjournal.h"

#include <QByteArray>
#include <QString>

class FileWriter;
class UniqueFd;

// The parts of one MP3 file that hold its tags: the ID3v2 area at the start
// and the last 128 bytes. Writing never touches the audio, refuses a file that
// changed since it was loaded, never writes through a symbolic link, and keeps
// the file itself: its other hard links, owner, mode, ACLs and extended
// attributes. Whatever fails, even the disk or the process, the file is left
// as it was or as planned: a rewrite that moves the audio keeps a whole copy
// of the new file until it is done, recorded in the journal when one is given.
class TagFile
{
public:
    static constexpr int TailLength = 128;

    // Both stay set across loads; none keeps no record / writes as the system does.
    void setJournal(TagJournal *journal) { m_journal = journal; }
    void setWriter(FileWriter *writer) { m_writer = writer; }

    // Reads the tag parts of path; empty on success, else the reason. What
    // was read before a failure stays.
    QString load(const QString &path);

    qint64 size() const { return m_size; }
    // The path names a symbolic link: it is read, never written.
    bool isLink() const { return m_isLink; }
    // The ID3v2 tag area, header included; empty when the file starts with none.
    const QByteArray &head() const { return m_head; }
    // The last 128 bytes; empty when the file is shorter or they lie inside the head.
    const QByteArray &tail() const { return m_tail; }

    // All return an empty text on success, else the reason.
    QString writeTail(const QByteArray &block);
    // Adds block after the last byte, for a file that has no ID3v1 tag.
    QString appendTail(const QByteArray &block);
    // Replaces the head by area; a longer area moves the audio back.
    QString writeHead(const QByteArray &area);

    static QString linkRefusal();

private:
    FileWriter &writer() const;
    // Opens the loaded file for writing, never through a link, once it is
    // still what was loaded; empty on success, else the reason.
    QString openForWrite(UniqueFd *fd) const;
    QString checkUnchanged(int fd) const;
    QString grow(const QByteArray &area);
    QString rewriteInPlace(int fd, int copy, TagJournal::Rewrite &rewrite);
    bool holdsCopy(int fd, int temp, const QByteArray &area) const;

    TagJournal *m_journal = nullptr;
    FileWriter *m_writer = nullptr;
    QString m_path;
    qint64 m_size = 0;
    bool m_isLink = false;
    QByteArray m_head;
    QByteArray m_tail;
};
