#include "engine/jobs/namecheck.h"

#include "platform/crlf.h"
#include "platform/displaytext.h"
#include "platform/pathtext.h"

#include <QStringList>

#include <algorithm>
#include <array>

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
    return std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c == u'.'; });
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
    // Printable ASCII but the forbidden, and letters and digits, nearly every
    // character of a name, are passed at once.
    static const std::array<bool, 128> plainAscii = [] {
        std::array<bool, 128> plain{};
        for (char16_t u = 0x20; u < 0x7F; ++u)
            plain[u] = !forbidden.contains(QChar(u));
        return plain;
    }();
    // A control character (NUL ends a name at the system call, a line break
    // splits it in every list) is refused like a forbidden one.
    RowRejection found = RowRejection::None;
    for (const QChar c : planned) {
        const char16_t u = c.unicode();
        if (u < 0x80 ? plainAscii[u] : c.isLetterOrNumber())
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
