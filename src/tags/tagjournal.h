#pragma once

#include "platform/journalfile.h"

#include <QString>
#include <QStringList>

#include <vector>

// The record of the tag rewrites that move a file's audio. Each names the
// file and the whole copy of its new content beside it, and how far the
// rewrite got, so that the next start after a kill or a power cut brings the
// file to its old or its new content and removes the copy. A journal with no
// path keeps nothing.
class TagJournal
{
public:
    enum class Step : char {
        Copying = 'C',   // the copy is being made; the file is as it was
        Reserving = 'R', // the file grows past its old end; its old bytes are as they were
        Writing = 'W',   // the file takes the copy's content in place
        Ended = 'E',     // the copy is gone; the file is as it was or as planned
    };

    struct Rewrite
    {
        QString path;
        QString copy; // in the same folder
        quint64 device = 0;
        quint64 inode = 0;
        qint64 oldSize = 0;
        qint64 newSize = 0;
        int id = 0;
        Step step = Step::Copying;
    };

    explicit TagJournal(QString path = {});
    TagJournal(const TagJournal &) = delete;
    TagJournal &operator=(const TagJournal &) = delete;
    // Closes the journal; it goes when every rewrite it holds has ended.
    ~TagJournal();

    // Records a rewrite about to begin, on disk before it returns; the
    // reason when it could not, and then the rewrite must not begin.
    QString begin(Rewrite *rewrite);
    // Moves a rewrite on; every step but the end is on disk before it returns.
    QString step(Rewrite *rewrite, Step step);

    // Brings every rewrite the journal at path left unfinished to an end, and
    // says for each file what was done; nothing while a live run holds it.
    static QStringList recover(const QString &path);

private:
    // Opens the journal for this process, carrying over the rewrites that
    // another run left unfinished.
    QString open(const std::vector<Rewrite> &carried);

    QString m_path;
    JournalFile m_file;
    int m_nextId = 1;
    int m_unfinished = 0;
};
