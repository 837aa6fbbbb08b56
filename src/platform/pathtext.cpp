#include "platform/pathtext.h"

QString ExtensionOf(const QString &quotedPath)
{
    const QString path = Unquote(quotedPath);
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < 0)
        return {};
    const qsizetype separator = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    if (dot < separator)
        return {};
    const qsizetype length = path.size() - dot - 1;
    return length <= 4 ? path.mid(dot + 1) : QString();
}

QString Unquote(const QString &text)
{
    QString result = text.trimmed();
    while (result.size() >= 2 && result.startsWith(u'"') && result.endsWith(u'"'))
        result = result.mid(1, result.size() - 2).trimmed();
    return result;
}

QString JoinPath(const QString &folder, const QString &name)
{
    if (folder.isEmpty())
        return {};
    if (folder.endsWith(u'/'))
        return folder + name;
    return folder + u'/' + name;
}

QString FileNameOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? path : path.mid(slash + 1);
}

QString FolderOf(const QString &path)
{
    QString text = path.trimmed();
    if (text.startsWith(u'"'))
        text = text.mid(1, text.size() - 2);
    const qsizetype slash = text.lastIndexOf(u'/');
    if (slash < 0)
        return text;
    if (slash == 0)
        return QStringLiteral("/");
    return text.left(slash);
}
