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
#include <cstring>
#include <vector>

namespace {

// Whether key a sorts before key b unit by unit. Names in a folder mostly
// share long beginnings, so equal stretches are skipped four units at a time.
bool keyLess(const char16_t *a, qsizetype aSize, const char16_t *b, qsizetype bSize)
{
    const qsizetype common = std::min(aSize, bSize);
    qsizetype at = 0;
    for (; at + 4 <= common; at += 4) {
        if (std::memcmp(a + at, b + at, 4 * sizeof(char16_t)) != 0)
            break;
    }
    for (; at < common; ++at) {
        if (a[at] != b[at])
            return a[at] < b[at];
    }
    return aSize < bSize;
}

// A folder's readable entries, each with its sort key made once: the name
// folded to ignore case, a NUL and the name itself. Names hold no NUL, so
// comparing keys unit by unit orders by the folded name first and then
// exactly. The keys lie one after another in one buffer, so sorting moves
// small plain entries only.
class Listing
{
public:
    struct Entry
    {
        qsizetype at;
        qsizetype nameAt;
        qsizetype end;
        FolderEntry::Kind kind;
    };

    void reserve(std::size_t count, qsizetype units)
    {
        m_entries.reserve(count);
        m_keys.reserve(units);
    }
    // False, adding nothing, when the name is not all ASCII: the key is
    // made in the same walk that finds that out.
    bool addAscii(const QByteArray &name, FolderEntry::Kind kind)
    {
        const qsizetype at = m_keys.size();
        const qsizetype size = name.size();
        m_keys.resize(std::size_t(at + 2 * size + 1));
        char16_t *key = m_keys.data() + at;
        unsigned char all = 0;
        for (qsizetype i = 0; i < size; ++i) {
            const char c = name[i];
            all |= static_cast<unsigned char>(c);
            key[i] = char16_t(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
            key[size + 1 + i] = char16_t(c);
        }
        if (all >= 0x80) {
            m_keys.resize(std::size_t(at));
            return false;
        }
        key[size] = u'\0';
        m_entries.push_back({at, at + size + 1, at + 2 * size + 1, kind});
        return true;
    }
    void add(const QString &name, FolderEntry::Kind kind)
    {
        const QString folded = name.toCaseFolded();
        const qsizetype at = m_keys.size();
        m_keys.insert(m_keys.end(), folded.utf16(), folded.utf16() + folded.size());
        m_keys.push_back(u'\0');
        m_keys.insert(m_keys.end(), name.utf16(), name.utf16() + name.size());
        m_entries.push_back({at, at + folded.size() + 1, qsizetype(m_keys.size()), kind});
    }
    void sort()
    {
        const char16_t *keys = m_keys.data();
        std::sort(m_entries.begin(), m_entries.end(), [keys](const Entry &a, const Entry &b) {
            return keyLess(keys + a.at, a.end - a.at, keys + b.at, b.end - b.at);
        });
    }

    const std::vector<Entry> &entries() const { return m_entries; }
    QStringView name(const Entry &entry) const
    {
        return QStringView(m_keys.data() + entry.nameAt, entry.end - entry.nameAt);
    }

private:
    std::vector<char16_t> m_keys;
    std::vector<Entry> m_entries;
};

QString joined(const QString &folder, QStringView name)
{
    QString path;
    path.reserve(folder.size() + 1 + name.size());
    path.append(folder);
    if (!folder.endsWith(u'/'))
        path.append(u'/');
    path.append(name);
    return path;
}

bool caseOrder(const QString &a, const QString &b)
{
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

// A folder's entries with readable names, sorted ignoring case and then
// exactly; false when the folder cannot be read.
// Only names of the kind wanted are reported unreadable: the folder job
// never lists the files inside its folders.
bool readFolder(const FileSystem &files, const QString &path, Listing *listing, QStringList *unreadable,
                bool foldersOnly = false)
{
    std::vector<FolderEntry> raw;
    if (!files.listFolder(path, &raw))
        return false;
    qsizetype units = 0;
    for (const FolderEntry &item : raw)
        units += 2 * item.name.size() + 1;
    listing->reserve(raw.size(), units);
    for (FolderEntry &item : raw) {
        if (listing->addAscii(item.name, item.kind))
            continue;
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString name = decoder.decode(item.name);
        if (decoder.hasError()) {
            if (unreadable && (!foldersOnly || item.kind == FolderEntry::Kind::Folder))
                unreadable->append(JoinPath(path, name));
            continue;
        }
        listing->add(name, item.kind);
    }
    listing->sort();
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
        showProgress(context, state, state.fileListCounter, list.size());
    const FileInfo item = SafeGetAttr(context.files, path);
    if (!item.exists) {
        context.user.showErrorList(QStringLiteral("ファイル追加失敗！　－　FileList_Sub"), path + CrLf);
        cancel = true;
        return;
    }
    if (!item.isFolder) {
        list.append(path);
        return;
    }
    Listing listing;
    if (!readFolder(context.files, path, &listing, &list.unreadable))
        return;
    if (!onlyTop) {
        for (const Listing::Entry &entry : listing.entries()) {
            if (entry.kind != FolderEntry::Kind::Folder)
                continue;
            bool subfolderCancel = false;
            FileList_Sub(context, state, joined(path, listing.name(entry)), list, withLabel, subfolderCancel, false);
        }
    }
    // The folder as a row shows it: what FolderOf makes of any path inside it.
    const QString folder = FolderOf(joined(path, u"_"));
    for (const Listing::Entry &entry : listing.entries()) {
        if (entry.kind == FolderEntry::Kind::File || entry.kind == FolderEntry::Kind::SymLink)
            list.append(folder, listing.name(entry).toString());
    }
}

void FolderList_Sub(JobContext &context, LoaderState &state, const QString &path, PathList &list, bool withLabel,
                    bool &cancel, int mode)
{
    if ((mode != 1 && mode != 2) || cancel || state.loadCancelled)
        return;
    if (withLabel)
        showProgress(context, state, state.folderListCounter, list.size());
    const FileInfo item = SafeGetAttr(context.files, path);
    if (!item.exists || !item.isFolder)
        return;
    if (mode == 1) {
        list.append(path);
        return;
    }
    Listing listing;
    if (!readFolder(context.files, path, &listing, &list.unreadable, true))
        return;
    for (const Listing::Entry &entry : listing.entries()) {
        if (entry.kind != FolderEntry::Kind::Folder)
            continue;
        bool subfolderCancel = false;
        FolderList_Sub(context, state, joined(path, listing.name(entry)), list, withLabel, subfolderCancel, 1);
    }
}

QString PathList::path(qsizetype index) const
{
    const Item &item = items[std::size_t(index)];
    return item.path.isNull() ? JoinPath(item.folder, item.name) : item.path;
}

QStringList PathList::paths() const
{
    QStringList all;
    all.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        all.append(path(i));
    return all;
}

void PathList::append(const QString &path)
{
    items.push_back({FolderOf(path), FileNameOf(path), path});
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
