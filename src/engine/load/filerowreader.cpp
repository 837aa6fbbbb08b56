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
    if (!m_readsFacts && item.path.isNull()) {
        *row = RenameRow::listedWithoutFacts(item.folder, item.name);
        return true;
    }
    return fill(item.path, item.folder, item.name, m_files.infoIn(folders.of(item.folder), item.name), row);
}

bool FileRowReader::fill(const QString &path, const QString &folder, const QString &name, const FileInfo &item,
                         RenameRow *row)
{
    if (!item.exists)
        return false;
    *row = RenameRow::listed(folder, name, item.createdSeconds, item.modifiedSeconds,
                             sizeOf(item, path.isNull() ? JoinPath(folder, name) : path));
    if (!path.isNull())
        row->set(RenameField::Path, path);
    return true;
}

bool FileRowReader::readFacts(FolderHandles &folders, RenameRow *row)
{
    return takeFacts(m_files.infoIn(folders.of(row->folder()), row->currentName()), row);
}

bool FileRowReader::readFacts(RenameRow *row)
{
    return takeFacts(m_files.info((*row)[RenameField::Path]), row);
}

bool FileRowReader::takeFacts(const FileInfo &item, RenameRow *row) const
{
    if (!item.exists) {
        row->setFacts(RenameRow::Unset, RenameRow::Unset, RenameRow::Unset);
        return false;
    }
    row->setFacts(item.createdSeconds, item.modifiedSeconds, sizeOf(item, (*row)[RenameField::Path]));
    return true;
}

qint64 FileRowReader::sizeOf(const FileInfo &item, const QString &path) const
{
    return item.isFolder ? m_files.folderSize(path) : item.size;
}
