#pragma once

#include "engine/control/folderopener.h"
#include "platform/systempaths.h"

#include <QString>

// What the executor asks of the desktop: where the user's desktop is (the
// error log goes there) and showing a folder in the file manager. The main
// window implements it; tests record the calls.
class DesktopServices : public FolderOpener
{
public:
    virtual QString desktopFolder() const { return SystemPaths::desktopFolder(); }
};
