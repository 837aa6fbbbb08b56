#include "engine/run/journaldialogue.h"

#include "engine/run/journalrecovery.h"
#include "engine/run/renamepasses.h"
#include "platform/crlf.h"
#include "platform/displaytext.h"
#include "platform/pathtext.h"
#include "platform/showmessage.h"
#include "platform/userchannel.h"

JournalDialogue::JournalDialogue(FileSystem &files, UserChannel &user, QString journalPath)
    : m_files(files)
    , m_user(user)
    , m_path(std::move(journalPath))
{
}

bool JournalDialogue::undoable() const
{
    return !m_path.isEmpty() && JournalRecovery::undoable(m_path);
}

namespace {

// What a recovery or an undo from the journal did, in counts after lead.
RunOutcome countedOutcome(const JournalRecovery &recovery, const QString &lead, const QString &done, int total)
{
    RunOutcome outcome;
    outcome.ran = true;
    outcome.summary = lead + RunCounts(done, QStringLiteral("移動できなかった項目"), int(recovery.movedBack().size()),
                                       int(recovery.failures().size()), total);
    return outcome;
}

} // namespace

RunOutcome JournalDialogue::offerRecovery()
{
    JournalRecovery recovery(m_files, m_user, m_path);
    bool busyJournal = false;
    QString error;
    const JournalRecord record = recovery.load(&busyJournal, &error);
    if (!error.isEmpty()) {
        ShowPlainMessage(m_user, error, QStringLiteral("中断された処理"));
        return {};
    }
    const QString what = record.kind == JournalRecord::Kind::Execute ? QStringLiteral("名前の変更")
                                                                     : QStringLiteral("元の名前に戻す処理");
    const QString count = SizeText(qint64(record.items.size()));
    const QString prompt = u"前回の" + what + u"（" + count
                           + u" 件）は途中で終わっています。\r\n\r\n"
                             u"はい　：全て実行前の名前に戻す\r\n"
                             u"いいえ：最後まで実行する\r\n"
                             u"キャンセル：後で決める（corvane -undo でも戻せます）";
    const int answer = ShowMessage(m_user, prompt, MessageStyle::YesNoCancel, QStringLiteral("中断された処理"), true);
    if (answer != MessageAnswer::Yes && answer != MessageAnswer::No)
        return {};
    const bool back = answer == MessageAnswer::Yes;
    m_user.showStatus(u"中断された" + what + (back ? u"を実行前の名前に戻しています（" : u"を最後まで実行しています（")
                      + count + u" 件）・・・");
    const JournalRecovery::Outcome outcome = back ? recovery.putBack(record) : recovery.finish(record);
    m_user.showStatus(QString());
    if (outcome == JournalRecovery::Outcome::Partly)
        m_user.showErrorList(QStringLiteral("移動できなかった項目"), recovery.failures().join(CrLf));
    return countedOutcome(recovery, u"中断された" + what + (back ? u"を取り消しました。" : u"を最後まで実行しました。"),
                          back ? QStringLiteral("実行前の名前に戻した項目") : QStringLiteral("移動した項目"),
                          int(record.items.size()));
}

RunOutcome JournalDialogue::undoInto(RenameRowList &rows)
{
    RunOutcome declined;
    declined.undoable = undoable();
    if (!*declined.undoable)
        return declined;
    if (ShowMessage(m_user, QStringLiteral("前回実行した名前の変更を記録から元に戻します。よろしいですか？"),
                    MessageStyle::OkCancel, QStringLiteral("確認"))
        != MessageAnswer::Ok)
        return declined;
    m_user.processEvents();
    JournalRecovery recovery(m_files, m_user, m_path);
    const JournalRecovery::Outcome result = recovery.undo();
    for (int i = 1; i <= rows.count(); ++i) {
        RenameRow &row = rows.editRow(i);
        const QString back = recovery.movedBack().value(row[RenameField::Path]);
        if (!back.isEmpty()) {
            const QString name = FileNameOf(back);
            row.set(RenameField::CurrentName, name);
            row.set(RenameField::NewName, name);
            row.set(RenameField::Path, back);
        }
    }
    if (rows.count() > 0)
        rows.changed(1, rows.count());
    RunOutcome outcome = countedOutcome(recovery, {}, QStringLiteral("元のファイル名に戻した項目"),
                                        int(recovery.movedBack().size() + recovery.failures().size()));
    outcome.undoable = result == JournalRecovery::Outcome::Partly;
    if (*outcome.undoable)
        m_user.showErrorList(QStringLiteral("元に戻せなかった項目"), recovery.failures().join(CrLf));
    return outcome;
}
