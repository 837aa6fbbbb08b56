#include "engine/restore.h"

#include "engine/jobcontext.h"
#include "engine/renamefile.h"
#include "platform/displaytext.h"
#include "platform/filesystem.h"
#include "platform/pathtext.h"
#include "platform/progressmeter.h"
#include "platform/showmessage.h"
#include "platform/userchannel.h"

#include <algorithm>
#include <vector>

namespace {

const QString parkSuffix = QStringLiteral("##");

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
        if (!m_showing)
            return;
        if (ShowMessage(m_user, error, MessageStyle::YesNo, QStringLiteral("エラーメッセージを続けて表示しますか？"))
            == MessageAnswer::No)
            m_showing = false;
    }

private:
    UserChannel &m_user;
    bool m_showing = true;
};

void setName(RenameRow &row, const QString &name)
{
    row[RenameField::CurrentName] = name;
    row[RenameField::NewName] = name;
}

} // namespace

void RestoreNames(JobContext &context)
{
    RenameRowList &rows = context.rows;
    UserChannel &user = context.user;
    const int count = rows.count();
    FailureDisplay failures(user);
    std::vector<int> parkedRows;
    bool asked = false;
    const int maximum = std::max(1, 2 * count);
    int progress = maximum;

    for (int i = 1; i <= count; ++i) {
        RenameRow &row = rows.editRow(i);
        // The name on disk is CurrentName: a Try after the execution may have
        // planned another NewName meanwhile.
        const QString current = JoinPath(row[RenameField::Folder], row[RenameField::CurrentName]);
        if (row[RenameField::OriginalName].isEmpty() || !restorable(context.files.info(current), context.job))
            continue;
        if (!asked) {
            if (ShowMessage(user, QStringLiteral("実行前のファイル名に戻します。よろしいですか？"),
                            MessageStyle::OkCancel, QStringLiteral("確認"))
                != MessageAnswer::Ok) {
                user.setProgressVisible(false);
                context.states.restoreFileNameEnabled = false;
                return;
            }
            asked = true;
            user.setProgressMaximum(maximum);
            user.setProgressValue(maximum);
            user.setProgressVisible(true);
        }
        const QString parkedName = row[RenameField::OriginalName] + parkSuffix;
        const QString error = RenameFile(context.files, current, JoinPath(row[RenameField::Folder], parkedName));
        if (error.isEmpty()) {
            setName(row, parkedName);
            rows.changed(i, i);
            parkedRows.push_back(i);
            progress = maximum - i;
            user.setProgressValue(progress);
        } else {
            failures.show(error);
        }
    }
    if (parkedRows.empty()) {
        if (asked)
            user.setProgressVisible(false);
        return;
    }

    for (int i : parkedRows) {
        RenameRow &row = rows.editRow(i);
        const QString current = JoinPath(row[RenameField::Folder], row[RenameField::CurrentName]);
        const QString target = current.chopped(parkSuffix.size());
        const QString error = RenameFile(context.files, current, target);
        if (error.isEmpty()) {
            row[RenameField::OriginalName].clear();
            setName(row, FileNameOf(target));
            rows.changed(i, i);
            progress = std::max(1, progress - 1);
            user.setProgressValue(progress);
        } else {
            failures.show(error);
        }
    }
    user.setProgressVisible(false);
    context.states.restoreFileNameEnabled = false;
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
        row[RenameField::NewName] = FileNameOf(path);
        const FileInfo item = context.files.info(path);
        if (item.exists) {
            row[RenameField::Created] = DateText(item.created);
            row[RenameField::Modified] = DateText(item.modified);
        }
    }
    if (count > 0)
        rows.changed(1, count);
    progress.hide();
    context.states.executeEnabled = false;
}
