#include "engine/load/filelist.h"

#include "engine/jobs/jobcontext.h"
#include "engine/load/loaderstate.h"
#include "platform/crlf.h"
#include "platform/filesystem.h"
#include "platform/pathtext.h"
#include "platform/systempaths.h"
#include "platform/userchannel.h"

#include <QDir>
#include <QStringDecoder>

#include <algorithm>

namespace {

struct Entry
{
    QString folded;
    QString name;
    FolderEntry::Kind kind;
};

bool caseOrder(const QString &a, const QString &b)
{
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

// A folder's entries with readable names, sorted ignoring case and then
// exactly; false when the folder cannot be read.
// Only names of the kind wanted are reported unreadable: the folder job
// never lists the files inside its folders.
bool readFolder(const FileSystem &files, const QString &path, std::vector<Entry> *entries,
                QStringList *unreadable, bool foldersOnly = false)
{
    std::vector<FolderEntry> raw;
    entries->clear();
    if (!files.listFolder(path, &raw))
        return false;
    entries->reserve(raw.size());
    for (FolderEntry &item : raw) {
        const bool ascii = std::all_of(item.name.cbegin(), item.name.cend(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        QString name;
        if (ascii) {
            name = QString::fromLatin1(item.name);
        } else {
            QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            name = decoder.decode(item.name);
            if (decoder.hasError()) {
                if (unreadable && (!foldersOnly || item.kind == FolderEntry::Kind::Folder))
                    unreadable->append(JoinPath(path, name));
                continue;
            }
        }
        entries->push_back({name.toCaseFolded(), std::move(name), item.kind});
    }
    std::sort(entries->begin(), entries->end(), [](const Entry &a, const Entry &b) {
        return a.folded != b.folded ? a.folded < b.folded : a.name < b.name;
    });
    return true;
}

void showProgress(JobContext &context, LoaderState &state, int &counter, qsizetype collected)
{
    const int n = static_cast<int>(collected);
    if (n == 0) {
        counter = 0;
    } else if (n - counter >= 100) {
        state.setCountText(QString::number(n));
        // The amount is unknown until the folders are walked; meanwhile the
        // progress frame offers Stop.
        if (counter == 0) {
            context.user.setProgressMaximum(0);
            context.user.setProgressVisible(true);
        }
        context.user.processEvents();
        if (context.user.stopRequested())
            state.loadCancelled = true;
        counter = n;
    }
}

} // namespace

void FileList_Sub(JobContext &context, LoaderState &state, const QString &path, PathList &list, bool withLabel,
                  bool &cancel, bool onlyTop)
{
    if (cancel || state.loadCancelled)
        return;
    if (withLabel)
        showProgress(context, state, state.fileListCounter, list.paths.size());
    const FileInfo item = SafeGetAttr(context.files, path);
    if (!item.exists) {
        context.user.showErrorList(QStringLiteral("ファイル追加失敗！　－　FileList_Sub"), path + CrLf);
        cancel = true;
        return;
    }
    if (!item.isFolder) {
        list.paths.append(path);
        return;
    }
    std::vector<Entry> entries;
    if (!readFolder(context.files, path, &entries, &list.unreadable))
        return;
    if (!onlyTop) {
        for (const Entry &entry : entries) {
            if (entry.kind != FolderEntry::Kind::Folder)
                continue;
            bool subfolderCancel = false;
            FileList_Sub(context, state, JoinPath(path, entry.name), list, withLabel, subfolderCancel, false);
        }
    }
    for (const Entry &entry : entries) {
        if (entry.kind == FolderEntry::Kind::File || entry.kind == FolderEntry::Kind::SymLink)
            list.paths.append(JoinPath(path, entry.name));
    }
}

void FolderList_Sub(JobContext &context, LoaderState &state, const QString &path, PathList &list, bool withLabel,
                    bool &cancel, int mode)
{
    if ((mode != 1 && mode != 2) || cancel || state.loadCancelled)
        return;
    if (withLabel)
        showProgress(context, state, state.folderListCounter, list.paths.size());
    const FileInfo item = SafeGetAttr(context.files, path);
    if (!item.exists || !item.isFolder)
        return;
    if (mode == 1) {
        list.paths.append(path);
        return;
    }
    std::vector<Entry> entries;
    if (!readFolder(context.files, path, &entries, &list.unreadable, true))
        return;
    for (const Entry &entry : entries) {
        if (entry.kind != FolderEntry::Kind::Folder)
            continue;
        bool subfolderCancel = false;
        FolderList_Sub(context, state, JoinPath(path, entry.name), list, withLabel, subfolderCancel, 1);
    }
}

FileInfo SafeGetAttr(const FileSystem &files, const QString &path)
{
    return files.info(path);
}

int SubFolderCount(const FileSystem &files, const QString &path)
{
    std::vector<FolderEntry> entries;
    if (!files.listFolder(path, &entries))
        return -1;
    return static_cast<int>(std::count_if(entries.begin(), entries.end(), [](const FolderEntry &entry) {
        return entry.kind == FolderEntry::Kind::Folder;
    }));
}

void SortStrings(QStringList &items, int low, int high)
{
    if (low < 0 || high >= items.size() || high <= low)
        return;
    std::sort(items.begin() + low, items.begin() + high + 1, caseOrder);
}

int FindString(const QString &key, const QStringList &items, int low, int high)
{
    if (low < 0 || high >= items.size() || high < low)
        return -1;
    const auto first = items.begin() + low;
    const auto last = items.begin() + high + 1;
    const auto found = std::lower_bound(first, last, key, caseOrder);
    return found != last && *found == key ? static_cast<int>(found - items.begin()) : -1;
}

QString AbsolutePath(const QString &path, const QString &base)
{
    QString text = path.trimmed();
    if (text.size() >= 2 && text.startsWith(u'"') && text.endsWith(u'"'))
        text = text.mid(1, text.size() - 2);
    if (text.startsWith(u'/'))
        return text.contains(QStringLiteral("../")) || text.endsWith(QStringLiteral("/..")) ? QDir::cleanPath(text)
                                                                                           : text;
    const QString folder = base.isEmpty() ? SystemPaths::programFolder() : base;
    return QDir::cleanPath(JoinPath(folder, text));
}
