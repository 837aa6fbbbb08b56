#include "engine/renamefile.h"

#include "platform/filesystem.h"

QString RenameFile(FileSystem &files, const QString &from, const QString &to)
{
    return files.rename(from, to).text();
}
