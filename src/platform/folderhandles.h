#pragma once

#include "platform/folderhandle.h"

#include <QHashFunctions>
#include <QString>

#include <unordered_map>

class FileSystem;

// The folders of one run, each opened once and found again by its path, so
// that both passes of a rename work in the folders they began in. A run over
// very many folders closes them all now and then rather than run out of
// descriptors.
class FolderHandles
{
public:
    explicit FolderHandles(const FileSystem &files) : m_files(files) {}

    // The handle stays valid until the next call.
    FolderHandle &of(const QString &path);
    void clear()
    {
        m_open.clear();
        m_last = nullptr;
    }

private:
    static constexpr std::size_t maximumOpen = 256;

    const FileSystem &m_files;
    std::unordered_map<QString, FolderHandle> m_open;
    // Items come folder by folder: the last folder asked for is found without a look-up.
    const QString *m_lastPath = nullptr;
    FolderHandle *m_last = nullptr;
};
