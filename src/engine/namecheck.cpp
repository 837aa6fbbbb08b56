#include "engine/namecheck.h"

#include "platform/pathtext.h"

#include <QStringList>

#include <algorithm>

QString ForbiddenNameCharacters()
{
    return QStringLiteral("/:*?\\|<>\"");
}

QString PlannedPath(const QString &folder, const QString &name)
{
    return folder.isEmpty() ? name : JoinPath(folder, name);
}

namespace {

bool onlyDots(const QString &name)
{
    return name.count(u'.') == name.size();
}

bool hasForbiddenCharacter(const QString &name)
{
    static const QString forbidden = ForbiddenNameCharacters();
    // NUL ends a name at the system call, so it is refused as well, unlisted.
    // Letters and digits, nearly every character of a name, are passed at once.
    return std::any_of(name.begin(), name.end(), [](QChar c) {
        return !c.isLetterOrNumber() && (c.isNull() || forbidden.contains(c));
    });
}

} // namespace

RowRejection PlannedNameRejection(const QString &name)
{
    if (name.isEmpty())
        return RowRejection::EmptyName;
    if (onlyDots(name))
        return RowRejection::DotsOnly;
    if (hasForbiddenCharacter(name))
        return RowRejection::ForbiddenCharacter;
    return RowRejection::None;
}

QString PlannedNameFault(const QString &folder, const QString &name)
{
    switch (PlannedNameRejection(name)) {
    case RowRejection::EmptyName:
        return QStringLiteral("　置換後のファイル名が空白になります！");
    case RowRejection::DotsOnly:
        return QStringLiteral("　「.」 のみは使用できません。");
    case RowRejection::ForbiddenCharacter:
        return QStringList{PlannedPath(folder, name),
                           QStringLiteral("　　置換後の文字列にファイル名として使用できない文字が含まれます！"),
                           QString(QStringLiteral("　　使用できない文字 ： ") + ForbiddenNameCharacters()), QString()}
            .join(QStringLiteral("\r\n"));
    default:
        return {};
    }
}
