#include "ui/qtdesktopservices.h"

#include "ui/shellopen.h"

void QtDesktopServices::openFolder(const QString &folder)
{
    OpenInExplorer(folder);
}
