#pragma once

#include "engine/rows/renamerowlist.h"
#include "engine/run/runoutcome.h"

#include <QString>

class FileSystem;
class UserChannel;

// What the user is asked about the journal of an earlier run, and what the
// answer does: at start-up, an interrupted run is put back or finished; after
// a restart, "元のファイル名に戻す" puts the last execution back.
class JournalDialogue
{
public:
    JournalDialogue(FileSystem &files, UserChannel &user, QString journalPath);

    // An interrupted run: the user chooses to put every item back, to finish
    // the run, or to decide later. The status window shows while items move;
    // the outcome counts them.
    RunOutcome offerRecovery();
    // Puts the last execution back once the user agrees; the rows found follow
    // their items. The outcome counts them and says whether items are left to put back.
    RunOutcome undoInto(RenameRowList &rows);

private:
    bool undoable() const;

    FileSystem &m_files;
    UserChannel &m_user;
    QString m_path;
};
