#pragma once

#include "platform/fsstatus.h"

#include <QString>

#include <optional>

// An open folder. Items named relative to it are found however long the
// folder's path is, and in the folder that was opened even when another
// program renames it meanwhile. The handle closes the folder when it goes.
class FolderHandle
{
public:
    // What the folder's file system has refused so far. The first rename there
    // finds it out, so that later ones go straight to the way that works.
    struct Refusals
    {
        bool noReplaceFlag = false;
        bool links = false;
        // Asked once, and only where the file system refused the flag.
        std::optional<bool> foldersLoseContents;
    };

    FolderHandle() = default;
    // descriptor -1: a folder that is known by its path alone, or, with an
    // error in status, one that could not be opened.
    FolderHandle(QString path, int descriptor, FsStatus status = {});
    FolderHandle(FolderHandle &&other) noexcept;
    FolderHandle &operator=(FolderHandle &&other) noexcept;
    FolderHandle(const FolderHandle &) = delete;
    FolderHandle &operator=(const FolderHandle &) = delete;
    ~FolderHandle();

    // The path it was opened by, for messages and for full paths of its items.
    const QString &path() const { return m_path; }
    int descriptor() const { return m_descriptor; }
    // Why the folder could not be opened; every call on its items fails so.
    const FsStatus &status() const { return m_status; }
    Refusals &refusals() { return m_refusals; }

private:
    QString m_path;
    int m_descriptor = -1;
    FsStatus m_status;
    Refusals m_refusals;
};
