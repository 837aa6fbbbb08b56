#include "engine/load/fileload.h"

#include "engine/jobs/jobcontext.h"
#include "engine/load/filelist.h"
#include "engine/load/filerowreader.h"
#include "engine/load/loaderstate.h"
#include "platform/crlf.h"
#include "platform/displaytext.h"
#include "platform/filesystem.h"
#include "platform/folderhandles.h"
#include "platform/pathtext.h"
#include "platform/showmessage.h"
#include "platform/userchannel.h"

#include <algorithm>

namespace {

QString loadErrorTitle()
{
    return QStringLiteral("ファイル名読み込みエラー　－　LoadFromFolder");
}

void endProgress(UserChannel &user)
{
    user.setProgressVisible(false);
    user.showStatus(QString());
}

void loadTagRows(JobContext &context, LoaderState &state, const PathList &list)
{
    // Each row goes in at the top, so the list shows the paths last-collected first.
    QStringList mp3Paths;
    for (qsizetype i = list.size() - 1; i >= 0; --i) {
        if (const QString path = list.path(i); ExtensionOf(path).compare(u"mp3", Qt::CaseInsensitive) == 0)
            mp3Paths.append(path);
    }
    const bool sawMp3 = !mp3Paths.isEmpty();
    if (state.tagRows && sawMp3)
        state.tagRows->add(mp3Paths, 1, {});
    endProgress(context.user);
    if (!sawMp3)
        ShowNoMp3Files(context.user);
}

} // namespace

QString CollectingStatus()
{
    return QStringLiteral("ファイルリスト作成中");
}

QString AddingStatus()
{
    return QStringLiteral("ファイル追加処理中");
}

void ShowUnreadable(UserChannel &user, const QString &failures)
{
    user.showErrorList(loadErrorTitle(),
                       u"フォルダファイル追加失敗！　UNICODE ?" + CrLf + CrLf + failures);
}

void ShowNoMp3Files(UserChannel &user)
{
    ShowPlainMessage(user, QStringLiteral("ＭＰ３ファイルはありません！"), QStringLiteral("ファイル無し"));
}

int InsertRow(RenameRowList &rows, int position, RenameRow row)
{
    return rows.insert(position, std::move(row));
}

bool AddFileRow(JobContext &context, FileRowReader &reader, const QString &path, int position)
{
    RenameRow row;
    if (!reader.read(path, &row))
        return true;
    InsertRow(context.rows, position, std::move(row));
    return false;
}

void SetFileCnt(LoaderState &state, int rowCount)
{
    state.setCountText(rowCount > 0 ? QString::number(rowCount) : QString());
    state.allSelectEnabled = rowCount > 0;
}

bool LoadFromFolder(JobContext &context, LoaderState &state, const QString &folder, bool onlyTop)
{
    const bool tagJob = Jobs::editsTags(context.job);
    if (tagJob) {
        if (state.tagRows)
            state.tagRows->clear();
    } else {
        context.rows.clear();
    }
    state.loadCancelled = false;
    const QString chosen = Unquote(folder);
    // The chosen folder itself may be a link; what lies below it is never followed.
    const QString top = context.files.info(chosen).isSymLink ? context.files.linkTarget(chosen) : chosen;
    if (top.isEmpty() || !context.files.info(top).isFolder) {
        context.user.showErrorList(loadErrorTitle(), u"有効なパスではありません" + CrLf + CrLf + AbsolutePath(chosen, {}));
        endProgress(context.user);
        return true;
    }

    FileRowReader reader(context.files);
    // Only the time-stamp jobs use every item's dates; otherwise the rows the
    // list shows, a sort or a copy by them read them when they need them.
    reader.setReadsFacts(Jobs::setsTimeStamps(context.job));
    context.user.showStatus(QStringLiteral("リスト作成中"));
    PathList list;
    if (context.job == JobKind::FolderRename)
        FolderList_Sub(context, state, top, list, true, state.loadCancelled, 2);
    else
        FileList_Sub(context, state, top, list, true, state.loadCancelled, onlyTop);

    context.user.showStatus(AddingStatus());
    const int n = static_cast<int>(list.size());
    context.user.setProgressMaximum(std::max(1, n));
    context.user.setProgressValue(n);
    context.user.setProgressVisible(true);
    if (tagJob) {
        loadTagRows(context, state, list);
        return false;
    }

    QString failures;
    for (const QString &name : std::as_const(list.unreadable))
        failures += name + CrLf;
    // Each row goes in at the top, so the list shows the paths last-collected
    // first: rows are read into place from the end, and the places of items
    // that could not be read are dropped from the front.
    std::vector<RenameRow> built(static_cast<std::size_t>(n));
    auto unfilled = built.end();
    const int step = ProgressStep(n);
    FolderHandles folders(context.files);
    for (int i = 1; i <= n; ++i) {
        if (reader.read(folders, list.items[std::size_t(i - 1)], &*(unfilled - 1)))
            --unfilled;
        else
            failures += list.path(i - 1) + CrLf;
        if (i % step == 0) {
            context.user.setProgressValue(n - i);
            context.user.processEvents();
        }
    }
    built.erase(built.begin(), unfilled);
    context.rows.replaceAll(std::move(built));

    const bool failed = !failures.isEmpty();
    if (failed)
        ShowUnreadable(context.user, failures);
    endProgress(context.user);
    return failed;
}

void ReadPendingFacts(JobContext &context)
{
    FileRowReader reader(context.files);
    FolderHandles folders(context.files);
    QString failures;
    int first = 0;
    for (int i = 1; i <= context.rows.count(); ++i) {
        if (!context.rows.row(i).factsPending())
            continue;
        first = first ? first : i;
        if (!reader.readFacts(folders, &context.rows.editRow(i)))
            failures += context.rows.row(i)[RenameField::Path] + CrLf;
    }
    if (first)
        context.rows.changed(first, context.rows.count());
    if (!failures.isEmpty())
        ShowUnreadable(context.user, failures);
}

void ReadChosenFiles(JobContext &context, LoaderState &state, const QStringList &paths)
{
    context.rows.clear();
    if (state.tagRows)
        state.tagRows->clear();
    context.user.showStatus(CollectingStatus());
    FileRowReader reader(context.files);
    std::vector<RenameRow> built;
    built.reserve(static_cast<std::size_t>(paths.size()));
    for (const QString &path : paths) {
        RenameRow row;
        if (reader.read(path, &row))
            built.push_back(std::move(row));
    }
    std::reverse(built.begin(), built.end());
    context.rows.replaceAll(std::move(built));
    state.setCountText(QString::number(context.rows.count()));
    context.user.showStatus(QString());
}
