#pragma once

#include <QString>

#include <array>

// The fields of a row of the main list, in column order. The last four are
// hidden columns.
enum class RenameField {
    NewName,
    CurrentName,
    Created,
    Modified,
    Size,
    Folder,
    Path,
    TempName,
    SortKey,
    OriginalName,
};

// Why the last Try refused a row's planned name or time-stamp; the list shows it on the row.
enum class RowRejection : quint8 {
    None,
    EmptyName,
    DotsOnly,
    ForbiddenCharacter,
    ControlCharacter,
    LineBreak,
    DuplicateTarget,
    CreationTimeUnsupported,
    // Not refused as such: the file has no EXIF moment, so its time-stamp stays.
    NoExifTime,
};

// One file or folder of the main list. All fields are display texts.
struct RenameRow
{
    using Field = RenameField;
    static constexpr int FieldCount = 10;

    std::array<QString, FieldCount> fields;
    bool selected = false;
    RowRejection rejection = RowRejection::None;

    const QString &operator[](RenameField field) const { return fields[static_cast<int>(field)]; }
    QString &operator[](RenameField field) { return fields[static_cast<int>(field)]; }
};
