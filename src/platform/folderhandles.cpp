#include "platform/folderhandles.h"

#include "platform/filesystem.h"

FolderHandle &FolderHandles::of(const QString &path)
{
    // The rows of one folder share its text, so most calls are answered
    // without comparing it unit by unit.
    const bool sameText = m_last && m_lastPath->constData() == path.constData() && m_lastPath->size() == path.size();
    if (m_last && (sameText || *m_lastPath == path))
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
