#include "ui/shellopen.h"

#include "platform/systempaths.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace {

bool isAddress(const QString &target)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:(//)?[^/\\\\]"));
    return scheme.match(target).hasMatch() && !QFileInfo::exists(target);
}

}

bool OpenInExplorer(const QString &folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

bool ShellOpen(const QString &target)
{
    const QString trimmed = target.trimmed();
    if (trimmed.isEmpty())
        return false;
    if (isAddress(trimmed))
        return QDesktopServices::openUrl(QUrl(trimmed));
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(trimmed).absoluteFilePath()));
}

int OpenWithApplication(const QString &path)
{
    const QString absolute = QDir(SystemPaths::programFolder()).absoluteFilePath(path.trimmed());
    if (QFileInfo(absolute).isDir())
        return OpenInExplorer(absolute) ? 1 : 0;
    if (!QFileInfo::exists(absolute))
        return 0;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(absolute)) ? 1 : 0;
}

QString ProgramOf(const QString &command, bool strip)
{
    const QString text = command.trimmed();
    if (text.startsWith(u'"')) {
        const qsizetype close = text.indexOf(u'"', 1);
        const QString quoted = close < 0 ? text : text.left(close + 1);
        if (!strip)
            return quoted;
        return quoted.mid(1, close < 0 ? -1 : close - 1);
    }
    const qsizetype blank = text.indexOf(u' ');
    return blank < 0 ? text : text.left(blank);
}

QString HomePagePath()
{
    return SystemPaths::partsFolder() + QStringLiteral("/index.html");
}

QString RegExpPagePath()
{
    return SystemPaths::partsFolder() + QStringLiteral("/regexp.html");
}

bool OpenHomePage()
{
    return ShellOpen(HomePagePath());
}

bool OpenRegExpPage()
{
    return ShellOpen(RegExpPagePath());
}
