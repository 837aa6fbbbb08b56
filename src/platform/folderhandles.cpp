#include "platform/folderhandles.h"

#include "platform/filesystem.h"

FolderHandle &FolderHandles::of(const QString &path)
{
    if (const auto found = m_open.find(path); found != m_open.end())
        return found->second;
    if (m_open.size() >= maximumOpen)
        m_open.clear();
    return m_open.emplace(path, m_files.openFolder(path)).first->second;
}
