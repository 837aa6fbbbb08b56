#pragma once

#include "engine/rows/renamerowlist.h"
#include "engine/run/runoutcome.h"

#include <QString>

#include <functional>

class FileSystem;
class GuardedUserChannel;
class Mp3TagJob;
class CommandStates;

// The crash-safe journals of the controller's runs: where they are kept, the
// recovery of an interrupted run at start-up, and "元のファイル名に戻す"
// after a restart.
class JournalCommands
{
public:
    struct Parts
    {
        GuardedUserChannel &user;
        FileSystem &files;
        Mp3TagJob &tagJob;
        CommandStates &states;
        std::function<void()> changed;
        // What the recovery did, with counts.
        std::function<void(const QString &)> reported;
    };

    explicit JournalCommands(Parts parts) : m_parts(std::move(parts)) {}

    // Where renaming runs keep their journal; empty keeps none.
    QString path() const { return m_path; }
    void setPath(const QString &path);
    // See JobController.
    void RecoverInterruptedRun();
    bool journalUndoable() const;
    void RefreshUndoState();
    // Puts back the run the journal holds into rows' files; the outcome counts
    // them and says whether the journal still holds a run to undo.
    RunOutcome undoInto(RenameRowList &rows);

private:
    // "TagJournal.dat" beside the rename journal, so that an MP3 run never
    // overwrites what "元のファイル名に戻す" needs; empty when path is.
    QString tagJournalPath() const;

    Parts m_parts;
    QString m_path;
};
