#include "platform/folderhandles.h"

#include "platform/filesystem.h"

FolderHandle &FolderHandles::of(const QString &path)
{
    if (m_last && *m_lastPath == path)
        return *m_last;
    auto found = m_open.find(path);
    if (found == m_open.end()) {
        if (m_open.size() >= maximumOpen)
            m_open.clear();
        found = m_open.emplace(path, m_files.openFolder(path)).first;
    }
    m_lastPath = &found->first;
    m_last = &found->second;
    return *m_last;
}
