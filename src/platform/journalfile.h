#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// The file a run writes its intent to before it touches any item. While a
// run holds it, it is locked, so another Corvane can tell a running journal
// from one whose run died. Every sync() reaches the disk, file and folder.
// A journal is one of Corvane's own files (OwnFile): one that is a link or
// could be someone else's is refused, never followed or truncated.
class JournalFile
{
public:
    JournalFile() = default;
    JournalFile(const JournalFile &) = delete;
    JournalFile &operator=(const JournalFile &) = delete;
    virtual ~JournalFile();

    // Starts a new journal at path: a fresh, locked file (mode 0600) renamed
    // over the earlier one. Fails with the reason, leaving the earlier one as
    // it was, when another process holds that, it is refused, or the new file
    // cannot be made.
    QString create(const QString &path);
    bool isOpen() const { return m_fd >= 0; }
    // Appends bytes; they are durable only after the next sync().
    void append(const QByteArray &bytes);
    // Writes what was appended and waits until the disk holds it; the error
    // text on failure.
    QString sync();
    // Releases the lock; the file stays.
    void close();

    // The whole file, or its last lastBytes; empty with *error set when it
    // cannot be read. busy tells whether a live process holds it for a run.
    static QByteArray read(const QString &path, bool *busy, QString *error, qint64 lastBytes = -1);
    // The whole file handed to take a piece of at most pieceBytes at a time,
    // the last one (possibly empty) with last set; take returns false to stop.
    static void readPieces(const QString &path, bool *busy, QString *error, qint64 pieceBytes,
                           const std::function<bool(const QByteArray &piece, bool last)> &take);

protected:
    // Writes bytes at the end of the file; false with errno set on failure.
    virtual bool write(const QByteArray &bytes);

private:
    int m_fd = -1;
    bool m_folderSynced = false;
    QString m_path;
    QByteArray m_pending;
    QString m_failure;
};
