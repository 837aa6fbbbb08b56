#include "engine/load/filerowreader.h"

#include "platform/filesystem.h"
#include "platform/folderhandles.h"
#include "platform/pathtext.h"

namespace {

qint64 seconds(const QDateTime &time)
{
    return time.isValid() ? time.toSecsSinceEpoch() : RenameRow::Unset;
}

} // namespace

FileRowReader::FileRowReader(const FileSystem &files)
    : m_files(files)
{
}

bool FileRowReader::read(const QString &path, RenameRow *row)
{
    return fill(path, FolderOf(path), FileNameOf(path), m_files.info(path), row);
}

bool FileRowReader::read(FolderHandles &folders, const QString &path, RenameRow *row)
{
    // Items come folder by folder: the rows of one folder share its text.
    const qsizetype slash = path.lastIndexOf(u'/');
    const bool plain = slash > 0 && !path.front().isSpace() && !path.back().isSpace() && path.front() != u'"';
    if (!plain || QStringView(path).first(slash) != m_folder)
        m_folder = FolderOf(path);
    const QString name = FileNameOf(path);
    return fill(path, m_folder, name, m_files.infoIn(folders.of(m_folder), name), row);
}

bool FileRowReader::fill(const QString &path, const QString &folder, const QString &name, const FileInfo &item,
                         RenameRow *row)
{
    if (!item.exists)
        return false;
    *row = RenameRow::listed(folder, name, seconds(item.created), seconds(item.modified),
                             item.isFolder ? m_files.folderSize(path) : item.size);
    row->set(RenameField::Path, path);
    return true;
}
