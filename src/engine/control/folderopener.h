#pragma once

#include <QString>

// Opens a folder in the system's file manager. The window layer implements it;
// tests record the folders they are asked to open.
class FolderOpener
{
public:
    virtual ~FolderOpener() = default;
    virtual void openFolder(const QString &folder) = 0;
};
