#include "engine/run/restore.h"

#include "engine/jobs/jobcontext.h"
#include "engine/run/renamepasses.h"
#include "platform/crlf.h"
#include "platform/displaytext.h"
#include "platform/filesystem.h"
#include "platform/folderhandles.h"
#include "platform/pathtext.h"
#include "platform/progressmeter.h"
#include "platform/showmessage.h"
#include "platform/userchannel.h"

#include <algorithm>
#include <vector>

namespace {


// File rows come back when a file (or a link) is there; folder rows when a folder is.
bool restorable(const FileInfo &item, JobKind job)
{
    return item.exists && !item.isSystem && item.isFolder == (job == JobKind::FolderRename);
}

class FailureDisplay
{
public:
    explicit FailureDisplay(UserChannel &user) : m_user(user) {}
    void show(const QString &error)
    {
        ++m_count;
        if (!m_showing)
            return;
        if (ShowMessage(m_user, error, MessageStyle::YesNo, QStringLiteral("エラーメッセージを続けて表示しますか？"))
            == MessageAnswer::No)
            m_showing = false;
    }

    // Failures met, shown or not.
    int count() const { return m_count; }

private:
    UserChannel &m_user;
    bool m_showing = true;
    int m_count = 0;
};

void setName(RenameRow &row, const QString &folder, const QString &name)
{
    row.set(RenameField::CurrentName, name);
    row.set(RenameField::NewName, name);
    row.set(RenameField::Path, JoinPath(folder, name));
}

QString failureText(const JournalItem &item, const MoveResult &result)
{
    const QString lies = result.outcome == MoveResult::Outcome::LeftParked ? item.park : item.from;
    return result.error + CrLf + CrLf + u"元の名 = " + EscapedText(JoinPath(item.folder, item.to)) + CrLf
           + u"現在の場所 = " + EscapedText(JoinPath(item.folder, lies));
}

} // namespace

RunOutcome RestoreNames(JobContext &context)
{
    RunOutcome outcome;
    RenameRowList &rows = context.rows;
    UserChannel &user = context.user;
    std::vector<JournalItem> items;
    std::vector<int> itemRows;
    FolderHandles folders(context.files);
    for (int i = 1; i <= rows.count(); ++i) {
        const RenameRow &row = rows.row(i);
        // The name on disk is CurrentName: a Try after the execution may have
        // planned another NewName meanwhile.
        if (row[RenameField::OriginalName].isEmpty()
            || !restorable(context.files.infoIn(folders.of(row[RenameField::Folder]), row[RenameField::CurrentName]),
                           context.job))
            continue;
        const QString &original = row[RenameField::OriginalName];
        items.push_back({row[RenameField::Folder], row[RenameField::CurrentName],
                         RestoreParkName(original, i), original});
        itemRows.push_back(i);
    }
    folders.clear();
    if (items.empty()) {
        outcome.summary = QStringLiteral("元のファイル名に戻す項目はありません");
        return outcome;
    }
    if (ShowMessage(user, QStringLiteral("実行前のファイル名に戻します。よろしいですか？"), MessageStyle::OkCancel,
                    QStringLiteral("確認"))
        != MessageAnswer::Ok) {
        outcome.undoable = false;
        return outcome;
    }
    // The closed question must not stay on screen while the names change.
    user.processEvents();

    RunJournal journal(context.journalPath);
    RenamePasses passes(context.files, user, journal, JournalRecord::Kind::Restore);
    outcome.ran = true;
    std::vector<MoveResult> results;
    if (const QString error = passes.run(items, &results); !error.isEmpty()) {
        const QString what = results.empty() ? QStringLiteral("処理の記録を書けないため、名前を戻しませんでした")
                                             : QStringLiteral("処理の記録を書けないため、処理を止めました");
        ShowPlainMessage(user, what + CrLf + CrLf + error);
        if (results.empty())
            return outcome;
    }
    FailureDisplay failures(user);
    bool anyLeft = false;
    int moved = 0;
    for (size_t k = 0; k < results.size(); ++k) {
        const JournalItem &item = items[k];
        RenameRow &row = rows.editRow(itemRows[k]);
        switch (results[k].outcome) {
        case MoveResult::Outcome::Moved:
            row.set(RenameField::OriginalName, {});
            setName(row, item.folder, item.to);
            ++moved;
            break;
        case MoveResult::Outcome::LeftParked:
            setName(row, item.folder, item.park);
            anyLeft = true;
            failures.show(failureText(item, results[k]));
            break;
        case MoveResult::Outcome::RolledBack:
            anyLeft = true;
            break;
        default:
            anyLeft = true;
            failures.show(failureText(item, results[k]));
            break;
        }
    }
    rows.changed(1, rows.count());
    // Items still not back can be tried again.
    outcome.undoable = anyLeft;
    outcome.summary = PassesSummary(passes.stop(), QStringLiteral("元のファイル名に戻した項目"),
                                    QStringLiteral("戻せなかった項目"), moved, failures.count(), int(items.size()));
    return outcome;
}

void RestoreList(JobContext &context)
{
    RenameRowList &rows = context.rows;
    const int count = rows.count();
    ProgressMeter progress(context.user, count);
    for (int i = 1; i <= count; ++i) {
        progress.at(i);
        RenameRow &row = rows.editRow(i);
        const QString path = JoinPath(row[RenameField::Folder], row[RenameField::CurrentName]);
        if (path.isEmpty())
            continue;
        row.set(RenameField::NewName, FileNameOf(path));
        row.rejection = RowRejection::None;
        const FileInfo item = context.files.info(path);
        if (item.exists) {
            row.set(RenameField::Created, DateText(item.created()));
            row.set(RenameField::Modified, DateText(item.modified()));
        }
    }
    if (count > 0)
        rows.changed(1, count);
    progress.hide();
}
