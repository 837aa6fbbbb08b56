#include "engine/control/journalcommands.h"

#include "engine/control/commandstates.h"
#include "engine/control/guardeduserchannel.h"
#include "engine/control/outcomenotice.h"
#include "engine/jobs/mp3tagjob.h"
#include "engine/run/journaldialogue.h"
#include "engine/run/journalrecovery.h"
#include "platform/crlf.h"
#include "platform/pathtext.h"
#include "tags/tagjournal.h"

void JournalCommands::setPath(const QString &path)
{
    m_path = path;
    m_parts.tagJob.journalPath = tagJournalPath();
}

QString JournalCommands::tagJournalPath() const
{
    return m_path.isEmpty() ? QString() : JoinPath(FolderOf(m_path), QStringLiteral("TagJournal.dat"));
}

bool JournalCommands::journalUndoable() const
{
    return !m_path.isEmpty() && JournalRecovery::undoable(m_path);
}

void JournalCommands::RecoverInterruptedRun()
{
    if (m_parts.user.refuses())
        return;
    if (const QStringList mended = TagJournal::recover(tagJournalPath()); !mended.isEmpty())
        m_parts.user.showErrorList(QStringLiteral("中断されたＭＰ３タグの書き換え"), mended.join(CrLf));
    if (m_path.isEmpty() || !JournalRecovery::interrupted(m_path))
        return;
    const GuardedUserChannel::Run busy(m_parts.user);
    const RunOutcome outcome = JournalDialogue(m_parts.files, m_parts.user, m_path).offerRecovery();
    OutcomeNotice::showUndone(m_parts.user, outcome, QStringLiteral("中断された処理"));
    m_parts.reported(OutcomeNotice::runStatus(outcome));
    RefreshUndoState();
}

void JournalCommands::RefreshUndoState()
{
    if (m_parts.user.refuses())
        return;
    m_parts.states.setUndoable(journalUndoable());
    m_parts.changed();
}

RunOutcome JournalCommands::undoInto(RenameRowList &rows)
{
    return JournalDialogue(m_parts.files, m_parts.user, m_path).undoInto(rows);
}
