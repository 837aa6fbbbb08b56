#include "engine/load/filerowreader.h"

#include "platform/filesystem.h"
#include "platform/folderhandles.h"
#include "platform/pathtext.h"

FileRowReader::FileRowReader(const FileSystem &files)
    : m_files(files)
{
}

bool FileRowReader::read(const QString &path, RenameRow *row)
{
    return fill(path, FolderOf(path), FileNameOf(path), m_files.info(path), row);
}

bool FileRowReader::read(FolderHandles &folders, const PathList::Item &item, RenameRow *row)
{
    return fill(item.path, item.folder, item.name, m_files.infoIn(folders.of(item.folder), item.name), row);
}

bool FileRowReader::fill(const QString &path, const QString &folder, const QString &name, const FileInfo &item,
                         RenameRow *row)
{
    if (!item.exists)
        return false;
    const qint64 size = item.isFolder ? m_files.folderSize(path.isNull() ? JoinPath(folder, name) : path) : item.size;
    *row = RenameRow::listed(folder, name, item.createdSeconds, item.modifiedSeconds, size);
    if (!path.isNull())
        row->set(RenameField::Path, path);
    return true;
}
