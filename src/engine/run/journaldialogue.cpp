#include "engine/run/journaldialogue.h"

#include "engine/run/journalrecovery.h"
#include "platform/crlf.h"
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

void JournalDialogue::offerRecovery()
{
    JournalRecovery recovery(m_files, m_user, m_path);
    bool busyJournal = false;
    QString error;
    const JournalRecord record = recovery.load(&busyJournal, &error);
    if (!error.isEmpty()) {
        ShowPlainMessage(m_user, error, QStringLiteral("中断された処理"));
        return;
    }
    const QString what = record.kind == JournalRecord::Kind::Execute ? QStringLiteral("名前の変更")
                                                                     : QStringLiteral("元の名前に戻す処理");
    const QString prompt = u"前回の" + what + u"（" + QString::number(record.items.size())
                           + u" 件）は途中で終わっています。\r\n\r\n"
                             u"はい　：全て実行前の名前に戻す\r\n"
                             u"いいえ：最後まで実行する\r\n"
                             u"キャンセル：後で決める（corvane -undo でも戻せます）";
    const int answer = ShowMessage(m_user, prompt, MessageStyle::YesNoCancel, QStringLiteral("中断された処理"), true);
    if (answer != MessageAnswer::Yes && answer != MessageAnswer::No)
        return;
    const JournalRecovery::Outcome outcome
        = answer == MessageAnswer::Yes ? recovery.putBack(record) : recovery.finish(record);
    if (outcome == JournalRecovery::Outcome::Partly)
        m_user.showErrorList(QStringLiteral("移動できなかった項目"), recovery.failures().join(CrLf));
}

bool JournalDialogue::undoInto(RenameRowList &rows)
{
    if (!undoable())
        return false;
    if (ShowMessage(m_user, QStringLiteral("前回実行した名前の変更を記録から元に戻します。よろしいですか？"),
                    MessageStyle::OkCancel, QStringLiteral("確認"))
        != MessageAnswer::Ok)
        return true;
    m_user.processEvents();
    JournalRecovery recovery(m_files, m_user, m_path);
    const JournalRecovery::Outcome outcome = recovery.undo();
    for (int i = 1; i <= rows.count(); ++i) {
        RenameRow &row = rows.editRow(i);
        const QString back = recovery.movedBack().value(row[RenameField::Path]);
        if (!back.isEmpty()) {
            row[RenameField::Path] = back;
            row[RenameField::CurrentName] = row[RenameField::NewName] = FileNameOf(back);
        }
    }
    if (rows.count() > 0)
        rows.changed(1, rows.count());
    if (outcome != JournalRecovery::Outcome::Partly)
        return false;
    m_user.showErrorList(QStringLiteral("元に戻せなかった項目"), recovery.failures().join(CrLf));
    return true;
}
