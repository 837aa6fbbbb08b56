#include "engine/load/filerowreader.h"

#include "platform/displaytext.h"
#include "platform/filesystem.h"
#include "platform/folderhandles.h"
#include "platform/pathtext.h"

namespace {

void put(char16_t *at, int value, int digits)
{
    for (int i = digits - 1; i >= 0; --i, value /= 10)
        at[i] = char16_t(u'0' + value % 10);
}

} // namespace

FileRowReader::FileRowReader(const FileSystem &files)
    : m_files(files)
{
    ::tzset();
}

bool FileRowReader::read(const QString &path, RenameRow *row)
{
    return fill(path, FolderOf(path), FileNameOf(path), m_files.info(path), row);
}

bool FileRowReader::read(FolderHandles &folders, const QString &path, RenameRow *row)
{
    const QString folder = FolderOf(path);
    const QString name = FileNameOf(path);
    return fill(path, folder, name, m_files.infoIn(folders.of(folder), name), row);
}

bool FileRowReader::fill(const QString &path, const QString &folder, const QString &name, const FileInfo &item,
                         RenameRow *row)
{
    if (!item.exists)
        return false;
    RenameRow fresh;
    fresh[RenameField::NewName] = name;
    fresh[RenameField::CurrentName] = name;
    fresh[RenameField::Created] = dateText(item.created);
    fresh[RenameField::Modified] = item.modified == item.created ? fresh[RenameField::Created]
                                                                   : dateText(item.modified);
    fresh[RenameField::Size] = SizeText(item.isFolder ? m_files.folderSize(path) : item.size);
    fresh[RenameField::Folder] = folder;
    fresh[RenameField::Path] = path;
    *row = std::move(fresh);
    return true;
}

// DateText, with localtime_r reading the zone taken at the start where a
// QDateTime conversion would look it up again for every date.
QString FileRowReader::dateText(const QDateTime &time)
{
    if (!time.isValid())
        return {};
    const time_t seconds = static_cast<time_t>(time.toSecsSinceEpoch());
    if (seconds == m_lastSeconds && !m_lastText.isEmpty())
        return m_lastText;
    struct tm local;
    if (!::localtime_r(&seconds, &local) || local.tm_year + 1900 < 1 || local.tm_year + 1900 > 9999)
        return DateText(time);
    char16_t text[19];
    put(text, local.tm_year + 1900, 4);
    put(text + 5, local.tm_mon + 1, 2);
    put(text + 8, local.tm_mday, 2);
    put(text + 11, local.tm_hour, 2);
    put(text + 14, local.tm_min, 2);
    put(text + 17, local.tm_sec, 2);
    text[4] = text[7] = u'/';
    text[10] = u' ';
    text[13] = text[16] = u':';
    m_lastSeconds = seconds;
    m_lastText = QString(reinterpret_cast<const QChar *>(text), 19);
    return m_lastText;
}
