#pragma once

#include "engine/run/runjournal.h"

#include <QHash>
#include <QStringList>

class FileSystem;
class UserChannel;

// Brings the items of the run a journal describes to one consistent state,
// from the journal and a look at the disk alone: every item back under the
// name it had before the run, or the run carried to its end. Each is itself
// a journaled two-pass run, so it can be interrupted and taken up again.
class JournalRecovery
{
public:
    enum class Outcome {
        Nothing, // no journal, or nothing left to do
        Done,    // every item is where it was asked to be
        Partly,  // some items could not be moved; failures says which
    };

    JournalRecovery(FileSystem &files, UserChannel &user, QString journalPath);

    // The journal as it stands; busy when a live run holds it.
    JournalRecord load(bool *busy, QString *error) const;
    // The journal at path: of an unfinished run another process does not hold.
    static bool interrupted(const QString &path);
    // Of something an undo would change: the last execution, or an unfinished restore.
    static bool undoable(const QString &path);

    // Every item back under its name before the run.
    Outcome putBack(const JournalRecord &record);
    // Every item on to its target name.
    Outcome finish(const JournalRecord &record);
    // "-undo": the names before the last execution: an execution is put back,
    // an unfinished restore finished, a finished restore leaves nothing to do.
    Outcome undo();

    // One line per item not moved: its name and where it lies.
    const QStringList &failures() const { return m_failures; }
    // Where each item the last call moved now lies, by the path it had before.
    const QHash<QString, QString> &movedBack() const { return m_moved; }

private:
    Outcome run(JournalRecord::Kind kind, const std::vector<JournalItem> &items);

    FileSystem &m_files;
    UserChannel &m_user;
    QString m_path;
    QStringList m_failures;
    QHash<QString, QString> m_moved;
};
