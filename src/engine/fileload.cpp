#include "engine/fileload.h"

#include "engine/filelist.h"
#include "engine/jobcontext.h"
#include "engine/loaderstate.h"
#include "platform/displaytext.h"
#include "platform/filesystem.h"
#include "platform/folderhandles.h"
#include "platform/pathtext.h"
#include "platform/showmessage.h"
#include "platform/userchannel.h"

#include <algorithm>
#include <ctime>

namespace {

const QString crlf = QStringLiteral("\r\n");
const QString loadErrorTitle = QStringLiteral("ファイル名読み込みエラー　－　LoadFromFolder");

// DateText for the many rows of a load: localtime_r reads the zone once per
// load (see tzset in the callers) where a QDateTime conversion would look it up
// again for every date. Files saved together share their texts.
class RowDateText
{
public:
    QString operator()(const QDateTime &time)
    {
        if (!time.isValid())
            return {};
        const time_t seconds = static_cast<time_t>(time.toSecsSinceEpoch());
        if (seconds == m_seconds && !m_text.isEmpty())
            return m_text;
        struct tm local;
        if (!::localtime_r(&seconds, &local) || local.tm_year + 1900 < 1 || local.tm_year + 1900 > 9999)
            return DateText(time);
        char16_t text[19];
        put(text, local.tm_year + 1900, 4);
        put(text + 5, local.tm_mon + 1, 2);
        put(text + 8, local.tm_mday, 2);
        put(text + 11, local.tm_hour, 2);
        put(text + 14, local.tm_min, 2);
        put(text + 17, local.tm_sec, 2);
        text[4] = text[7] = u'/';
        text[10] = u' ';
        text[13] = text[16] = u':';
        m_seconds = seconds;
        m_text = QString(reinterpret_cast<const QChar *>(text), 19);
        return m_text;
    }

private:
    static void put(char16_t *at, int value, int digits)
    {
        for (int i = digits - 1; i >= 0; --i, value /= 10)
            at[i] = char16_t(u'0' + value % 10);
    }

    time_t m_seconds = 0;
    QString m_text;
};

// A cache of the last text only; PrepareFileRowReads starts it afresh.
RowDateText rowDateText;

void endProgress(UserChannel &user)
{
    user.setProgressVisible(false);
    user.showStatus(QString());
}

// The folder of the previous row, reused so that rows of one folder share
// one text instead of holding a copy each.
void shareFolder(RenameRow &row, const std::vector<RenameRow> &built)
{
    if (!built.empty() && built.back()[RenameField::Folder] == row[RenameField::Folder])
        row[RenameField::Folder] = built.back()[RenameField::Folder];
}

bool fillRow(const FileSystem &files, const QString &path, const QString &folder, const QString &name,
             const FileInfo &item, RenameRow *row)
{
    if (!item.exists)
        return false;
    RenameRow fresh;
    fresh[RenameField::NewName] = name;
    fresh[RenameField::CurrentName] = name;
    fresh[RenameField::Created] = rowDateText(item.created);
    fresh[RenameField::Modified] = item.modified == item.created ? fresh[RenameField::Created]
                                                                   : rowDateText(item.modified);
    fresh[RenameField::Size] = SizeText(item.isFolder ? files.folderSize(path) : item.size);
    fresh[RenameField::Folder] = folder;
    fresh[RenameField::Path] = path;
    *row = std::move(fresh);
    return true;
}

void loadTagRows(JobContext &context, LoaderState &state, const PathList &list)
{
    bool sawMp3 = false;
    const int n = static_cast<int>(list.paths.size());
    for (int i = 1; i <= n; ++i) {
        const QString &path = list.paths[i - 1];
        if (ExtensionOf(path).compare(u"mp3", Qt::CaseInsensitive) == 0) {
            if (state.tagRows)
                state.tagRows->add(path, 1);
            sawMp3 = true;
        }
    }
    endProgress(context.user);
    if (!sawMp3)
        ShowPlainMessage(context.user, QStringLiteral("ＭＰ３ファイルはありません！"), QStringLiteral("ファイル無し"));
    else
        context.states.tryEnabled = true;
}

} // namespace

bool ReadFileRow(const FileSystem &files, const QString &path, RenameRow *row)
{
    return fillRow(files, path, FolderOf(path), FileNameOf(path), files.info(path), row);
}

bool ReadFileRow(const FileSystem &files, FolderHandles &folders, const QString &path, RenameRow *row)
{
    const QString folder = FolderOf(path);
    const QString name = FileNameOf(path);
    return fillRow(files, path, folder, name, files.infoIn(folders.of(folder), name), row);
}

void PrepareFileRowReads()
{
    ::tzset();
    rowDateText = RowDateText();
}

int InsertRow(RenameRowList &rows, int position, RenameRow row)
{
    return rows.insert(position, std::move(row));
}

bool AddFileRow(JobContext &context, const QString &path, int position)
{
    PrepareFileRowReads();
    RenameRow row;
    if (!ReadFileRow(context.files, path, &row))
        return true;
    InsertRow(context.rows, position, std::move(row));
    if (!context.inputs.searchText.isEmpty())
        context.states.tryEnabled = true;
    return false;
}

void SetFileCnt(LoaderState &state, CommandStates &states, int rowCount)
{
    state.setCountText(rowCount > 0 ? QString::number(rowCount) : QString());
    state.allSelectEnabled = rowCount > 0;
    states.tryEnabled = rowCount > 0;
}

bool LoadFromFolder(JobContext &context, LoaderState &state, const QString &folder, bool onlyTop)
{
    const bool tagJob = context.job == JobKind::Mp3TagEdit;
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
        context.user.showErrorList(loadErrorTitle, u"有効なパスではありません" + crlf + crlf + AbsolutePath(chosen, {}));
        endProgress(context.user);
        return true;
    }

    PrepareFileRowReads();
    context.user.showStatus(QStringLiteral("リスト作成中"));
    PathList list;
    if (context.job == JobKind::FolderRename)
        FolderList_Sub(context, state, top, list, true, state.loadCancelled, 2);
    else
        FileList_Sub(context, state, top, list, true, state.loadCancelled, onlyTop);

    context.user.showStatus(QStringLiteral("ファイル追加処理中"));
    const int n = static_cast<int>(list.paths.size());
    context.user.setProgressMaximum(std::max(1, n));
    context.user.setProgressValue(n);
    context.user.setProgressVisible(true);
    if (tagJob) {
        loadTagRows(context, state, list);
        return false;
    }

    QString failures;
    for (const QString &name : std::as_const(list.unreadable))
        failures += name + crlf;
    std::vector<RenameRow> built;
    built.reserve(static_cast<std::size_t>(n));
    const int step = ProgressStep(n);
    FolderHandles folders(context.files);
    for (int i = 1; i <= n; ++i) {
        RenameRow row;
        if (ReadFileRow(context.files, folders, list.paths[i - 1], &row)) {
            shareFolder(row, built);
            built.push_back(std::move(row));
        } else {
            failures += list.paths[i - 1] + crlf;
        }
        if (i % step == 0) {
            context.user.setProgressValue(n - i);
            context.user.processEvents();
        }
    }
    // Each row goes in at the top, so the list shows the paths last-collected first.
    std::reverse(built.begin(), built.end());
    context.rows.replaceAll(std::move(built));
    if (!context.rows.isEmpty() && !context.inputs.searchText.isEmpty())
        context.states.tryEnabled = true;

    const bool failed = !failures.isEmpty();
    if (!failed && context.job != JobKind::FileNameReplace)
        context.states.tryEnabled = true;
    if (failed)
        context.user.showErrorList(loadErrorTitle, u"フォルダファイル追加失敗！　UNICODE ?" + crlf + crlf + failures);
    endProgress(context.user);
    return failed;
}

void ReadChosenFiles(JobContext &context, LoaderState &state, const QStringList &paths)
{
    context.rows.clear();
    if (state.tagRows)
        state.tagRows->clear();
    context.user.showStatus(QStringLiteral("ファイルリスト作成中"));
    PrepareFileRowReads();
    std::vector<RenameRow> built;
    built.reserve(static_cast<std::size_t>(paths.size()));
    for (const QString &path : paths) {
        RenameRow row;
        if (ReadFileRow(context.files, path, &row))
            built.push_back(std::move(row));
    }
    std::reverse(built.begin(), built.end());
    context.rows.replaceAll(std::move(built));
    if (!context.rows.isEmpty() && !context.inputs.searchText.isEmpty())
        context.states.tryEnabled = true;
    state.setCountText(QString::number(context.rows.count()));
    context.user.showStatus(QString());
}
