#include "engine/load/listdrop.h"

#include "engine/jobs/jobcontext.h"
#include "engine/load/filelist.h"
#include "engine/load/fileload.h"
#include "engine/load/filerowreader.h"
#include "engine/load/loaderstate.h"
#include "platform/crlf.h"
#include "platform/displaytext.h"
#include "platform/pathtext.h"
#include "platform/progressmeter.h"
#include "platform/userchannel.h"

#include <QSet>

#include <algorithm>

namespace {

// The rows rebuilt with block in front of row position (count + 1: at the end),
// leaving out the rows marked in skip.
std::vector<RenameRow> spliced(const RenameRowList &rows, int position, std::vector<RenameRow> block,
                               const std::vector<char> &skip)
{
    std::vector<RenameRow> result;
    result.reserve(rows.rows().size() + block.size());
    for (int i = 1; i <= rows.count() + 1; ++i) {
        if (i == position)
            std::move(block.begin(), block.end(), std::back_inserter(result));
        if (i <= rows.count() && !skip[i])
            result.push_back(rows.row(i));
    }
    return result;
}

QStringList sortedPaths(QStringList paths)
{
    SortStrings(paths, 0, static_cast<int>(paths.size()) - 1);
    return paths;
}

bool isListed(const QString &path, const QStringList &listed)
{
    return FindString(path, listed, 0, static_cast<int>(listed.size()) - 1) >= 0;
}

// Returns false when some path could not be read (the error list is shown).
bool dropPaths(JobContext &context, LoaderState &state, const QStringList &dropped, int position)
{
    RenameRowList &rows = context.rows;
    QStringList paths;
    paths.reserve(rows.count());
    for (const RenameRow &row : rows.rows())
        paths.append(row[RenameField::Path]);
    const QStringList listed = sortedPaths(std::move(paths));

    FileRowReader reader(context.files);
    const bool folderJob = context.job == JobKind::FolderRename;
    const QString kind = folderJob ? QStringLiteral("フォルダ") : QStringLiteral("ファイル");
    context.user.showStatus(kind + u"リスト作成中");
    PathList list;
    for (const QString &path : dropped) {
        if (folderJob)
            FolderList_Sub(context, state, path, list, true, state.loadCancelled, 1);
        else
            FileList_Sub(context, state, path, list, true, state.loadCancelled, context.options.onlyTopFolder);
    }
    state.setCountText(QString::number(list.size()));
    context.user.showStatus(kind + u"追加処理中");

    // A path dropped twice, or inside a folder dropped with it, comes in once.
    QStringList fresh;
    QSet<QString> taken;
    for (const QString &path : list.paths()) {
        if (!isListed(path, listed) && !taken.contains(path)) {
            taken.insert(path);
            fresh.append(path);
        }
    }
    const int m = static_cast<int>(fresh.size());
    ProgressMeter progress(context.user, m);

    QString failures;
    for (const QString &name : std::as_const(list.unreadable))
        failures += name + CrLf;
    std::vector<RenameRow> block;
    for (int i = 1; i <= m; ++i) {
        progress.at(i);
        RenameRow row;
        if (reader.read(fresh[i - 1], &row)) {
            row.selected = true;
            block.push_back(std::move(row));
        } else {
            failures += fresh[i - 1] + CrLf;
        }
    }
    if (!block.empty()) {
        rows.replaceAll(spliced(rows, position, std::move(block), std::vector<char>(rows.count() + 1, 0)));
    }
    if (failures.isEmpty()) {
        progress.hide();
        context.user.showStatus(QString());
        return true;
    }
    ShowUnreadable(context.user, failures);
    return false;
}

void moveRows(RenameRowList &rows, std::vector<int> moving, int position)
{
    std::vector<char> skip(rows.count() + 1, 0);
    std::vector<RenameRow> block;
    for (int index : moving) {
        if (index < 1 || index > rows.count() || skip[index])
            continue;
        skip[index] = 1;
        block.push_back(rows.row(index));
        block.back().selected = true;
    }
    if (!block.empty())
        rows.replaceAll(spliced(rows, position, std::move(block), skip));
}

} // namespace

void StartRowMove(JobContext &context, LoaderState &state)
{
    state.moveRows.clear();
    for (int i = 1; i <= context.rows.count(); ++i) {
        if (context.rows.isSelected(i))
            state.moveRows.push_back(i);
    }
}

void ListV_OLEDragDrop(JobContext &context, LoaderState &state, const DropData &data, int dropRow)
{
    state.loadCancelled = false;
    context.rows.clearSelection();
    const int position = dropRow >= 1 && dropRow <= context.rows.count() ? dropRow : context.rows.count() + 1;

    if (data.rowMove) {
        std::vector<int> moving;
        moving.swap(state.moveRows);
        moveRows(context.rows, std::move(moving), position);
    } else if (!data.paths.isEmpty()) {
        dropPaths(context, state, data.paths, position);
    }

    context.user.showStatus(QString());
    state.loadCancelled = false;
    SetFileCnt(state, context.rows.count());
}

void ListV_MP3_OLEDragDrop(JobContext &context, LoaderState &state, const QStringList &paths, int dropRow)
{
    TagRowSink *tagRows = state.tagRows;
    if (!tagRows)
        return;
    state.loadCancelled = false;
    const QStringList listed = sortedPaths(tagRows->paths());
    const int count = tagRows->count();
    const int position = dropRow >= 1 && dropRow <= count ? dropRow : count + 1;

    context.user.showStatus(CollectingStatus());
    PathList list;
    for (const QString &path : paths)
        FileList_Sub(context, state, path, list, true, state.loadCancelled, context.options.onlyTopFolder);
    state.setCountText(QString::number(list.size()));
    context.user.showStatus(AddingStatus());

    QStringList fresh;
    for (const QString &path : list.paths()) {
        if (ExtensionOf(path).compare(u"mp3", Qt::CaseInsensitive) == 0 && !isListed(path, listed))
            fresh.append(path);
    }
    const int m = static_cast<int>(fresh.size());
    ProgressMeter progress(context.user, m);
    tagRows->add(fresh, position, [&progress](int read) { progress.at(read); });
    progress.hide();
    context.user.showStatus(QString());
    state.loadCancelled = false;
    SetFileCnt(state, tagRows->count());
}
