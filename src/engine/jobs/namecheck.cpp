#include "engine/jobs/namecheck.h"

#include "platform/crlf.h"
#include "platform/displaytext.h"
#include "platform/pathtext.h"

#include <QStringList>

#include <bitset>

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

// A forbidden character the planned name brings in: "/" always, the others
// only beyond the number of them the current name has.
bool addsForbidden(QChar c, const QString &current, const QString &planned)
{
    return c == u'/' || planned.count(c) > current.count(c);
}

} // namespace

RowRejection PlannedNameRejection(const QString &current, const QString &planned)
{
    if (planned.isEmpty())
        return RowRejection::EmptyName;
    if (onlyDots(planned))
        return RowRejection::DotsOnly;
    static const QString forbidden = ForbiddenNameCharacters();
    static const std::bitset<128> forbiddenAscii = [] {
        std::bitset<128> set;
        for (const QChar c : forbidden)
            set.set(c.unicode());
        return set;
    }();
    // Printable ASCII but the forbidden, and letters and digits, nearly every
    // character of a name, are passed at once.
    // A control character (NUL ends a name at the system call, a line break
    // splits it in every list) is refused like a forbidden one.
    RowRejection found = RowRejection::None;
    for (const QChar c : planned) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0x7F ? !forbiddenAscii.test(u) : c.isLetterOrNumber())
            continue;
        if (forbidden.contains(c) && addsForbidden(c, current, planned))
            return RowRejection::ForbiddenCharacter;
        if (IsControlCharacter(c))
            found = RowRejection::ControlCharacter;
    }
    return found;
}

QString PlannedNameFault(const QString &folder, const QString &current, const QString &name)
{
    switch (PlannedNameRejection(current, name)) {
    case RowRejection::EmptyName:
        return QStringLiteral("　置換後のファイル名が空白になります！");
    case RowRejection::DotsOnly:
        return QStringLiteral("　「.」 のみは使用できません。");
    case RowRejection::ForbiddenCharacter:
        return QStringList{EscapedText(PlannedPath(folder, name)),
                           QStringLiteral("　　置換後の文字列にファイル名として使用できない文字が含まれます！"),
                           QString(QStringLiteral("　　使用できない文字 ： ") + ForbiddenNameCharacters()), QString()}
            .join(CrLf);
    case RowRejection::ControlCharacter:
        return QStringList{EscapedText(PlannedPath(folder, name)),
                           QStringLiteral("　　置換後の文字列に改行などの制御文字が含まれます！"), QString()}
            .join(CrLf);
    default:
        return {};
    }
}
