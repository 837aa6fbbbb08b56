#pragma once

#include <QByteArray>
#include <QString>

// The file a run writes its intent to before it touches any item. While a
// run holds it, it is locked, so another Corvane can tell a running journal
// from one whose run died. Every sync() reaches the disk, file and folder.
class JournalFile
{
public:
    JournalFile() = default;
    JournalFile(const JournalFile &) = delete;
    JournalFile &operator=(const JournalFile &) = delete;
    ~JournalFile();

    // Opens path for a new run: locks it and empties it. Fails with the
    // reason when another process holds the lock or the file cannot be made.
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

private:
    int m_fd = -1;
    bool m_folderSynced = false;
    QString m_path;
    QByteArray m_pending;
    QString m_failure;
};
