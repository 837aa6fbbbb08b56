#pragma once

#include "persist/commandsetup.h"

#include <optional>

// The entries of a command file: "Com=ＭＰ３タグ編集" and so on, one per line.
// An entry the file did not hold is empty and changes nothing when applied.
struct CommandFile
{
    std::optional<QString> jobLabel;   // Com
    std::optional<QString> folderPath; // FolderPath
    std::optional<QString> searchText; // Search
    std::optional<QString> replaceText; // Replace
    // Tag and TagWidth: the items for box or column 1, 2, … as the file has them.
    std::optional<QStringList> tagTemplates;
    std::optional<QStringList> tagColumnWidths;
    std::optional<QString> baseName;  // BaseName
    std::optional<QString> startNo;   // StNo
    std::optional<QString> digits;    // Cols
    std::optional<bool> addTop;       // AddTop
    std::optional<QString> separator; // Separator
    std::optional<QString> stepMinutes; // Step, as the number it reads as

    // Entries are separated by tabs or line breaks and split at their first
    // "="; keys match exactly, letter case included; entries without "=" and
    // unknown keys are skipped; a later entry wins over an earlier one.
    static CommandFile parse(const QString &text);

    // Puts every entry the file held into setup. Templates and widths go to
    // the boxes and columns setup already has, no further; a width that is
    // empty, not a number or not above 0 leaves its column as it is.
    void applyTo(CommandSetup *setup) const;

    bool isEmpty() const;
};

// The text of a command file for setup: "Com" and "FolderPath", then the
// entries of its job, each line ended by CR LF.
QString CommandFileText(const CommandSetup &setup);

// Reads the command file at path. A missing file reads as one without
// entries; *error gets the reason when an existing file cannot be read.
CommandFile CommandFileLoad(const QString &path, QString *error = nullptr);

// Writes setup to path as a whole new file. An empty path writes nothing.
// Returns the error text, empty on success; the earlier file then stays whole.
QString CommandFileSave(const QString &path, const CommandSetup &setup);
