#pragma once

#include "persist/commandsetup.h"

#include <QMap>

#include <optional>

// The entries of a command file: "Com=ＭＰ３タグ編集" and so on, one per line.
// Every entry is defined once, in the table behind parse, applyTo and
// CommandFileText: its key, the set-up field it fills and the jobs it is written for.
struct CommandFile
{
    std::optional<QString> jobLabel; // Com, when the file has it
    QMap<QString, QString> values;   // every known entry as the file holds it, by key

    // Entries are separated by tabs or line breaks and split at their first
    // "="; keys match exactly, letter case included; entries without "=" and
    // unknown keys are skipped; a later entry wins over an earlier one.
    static CommandFile parse(const QString &text);

    // Puts every entry the file held into setup. Templates and widths go to
    // the boxes and columns setup already has, no further; a width that is
    // empty, not a number or not above 0 leaves its column as it is. A file
    // of the replace or a time-stamp job without ReplaceScope or UseExifTime
    // sets the whole name or base and step.
    void applyTo(CommandSetup *setup) const;

    bool isEmpty() const { return values.isEmpty(); }
};

// The text of a command file for setup: "Com" and "FolderPath", then the
// entries of its job, each line ended by CR LF.
QString CommandFileText(const CommandSetup &setup);

// Reads the command file at path. A missing file reads as one without
// entries. *error gets the reason, with the path, when an existing file cannot
// be read, is no text, holds no entry or names a job that does not exist.
CommandFile CommandFileLoad(const QString &path, QString *error = nullptr);

// Writes setup to path as a whole new file. An empty path writes nothing.
// Returns the error text, empty on success; the earlier file then stays whole.
QString CommandFileSave(const QString &path, const CommandSetup &setup);
