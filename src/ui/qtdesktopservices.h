#pragma once

#include "engine/control/desktopservices.h"

// The executor's desktop in the windowed program: folders open in the
// desktop's file manager.
class QtDesktopServices : public DesktopServices
{
public:
    void openFolder(const QString &folder) override;
};
