#pragma once

#include <QDate>
#include <QString>
#include <QTime>

// The box a numbering input check found wrong; it gets the focus.
enum class NumberingInput {
    None,
    StartNo,
    Step,
    Digits,
};

// The part of a file name the file-name replace searches and rewrites; the
// rest of the name stays as it is. The extension is ExtensionOf's.
enum class ReplaceScope {
    NameAndExtension,
    NameOnly,
    ExtensionOnly,
};

// The scope a stored number stands for (0, 1 or 2); any other number is the whole name.
inline ReplaceScope ReplaceScopeOf(int number)
{
    return number == 1 ? ReplaceScope::NameOnly
           : number == 2 ? ReplaceScope::ExtensionOnly
                         : ReplaceScope::NameAndExtension;
}

// What the user has set for a job; the planners read it when Try starts.
// Number inputs stay text, as typed: the planners check them.
struct JobInputs
{
    // ファイル名置換 and フォルダ名変更
    QString searchText;
    QString replaceText;
    ReplaceScope replaceScope = ReplaceScope::NameAndExtension;

    // 連番作成
    QString baseName;
    QString startNo = QStringLiteral(" 1");
    QString digits = QStringLiteral(" 2");
    QString step = QStringLiteral("  1");
    QString separator;
    bool addTop = true;

    // 作成日変更 and 更新日変更
    QDate baseDate;
    QTime baseTime;
    QString stepMinutes = QStringLiteral("  0");
    // Each file's EXIF moment instead of the base and the step.
    bool useExifTime = false;

    // "データを直接指定": the user has edited the rows directly, so Try checks
    // them as they stand and computes nothing.
    bool ChkManual = false;
};
