#pragma once

#include "persist/settings.h"

#include <QLatin1StringView>
#include <QList>
#include <QString>

#include <span>
#include <variant>

// How a setting's value stands in Conf.txt.
enum class SettingKind {
    Number,   // int
    Fraction, // double
    Flag,     // bool of an option menu item, written -1 or 0
    Switch,   // bool written 1 or 0
    Text,     // QString, as is
    Number2,  // text box holding a number: the last 2 characters of a blank and the number
    Number3,  // the last 3 characters of two blanks and the number
    Widths,   // QList<int> of column widths, twips, one key per column: the key and its number
};

enum class SettingWriting {
    Spaced, // "key = value"
    Tight,  // "key =value", as older files have them
    Never,  // read for older files, never written
};

using SettingMember = std::variant<int Settings::*, double Settings::*, bool Settings::*, QString Settings::*,
                                   QList<int> Settings::*>;
using SettingValue = std::variant<std::monostate, int, double, bool, QString, QList<int>>;

// One setting of Conf.txt: its key, how its value reads and writes, its value
// when the file gives none, and the member of Settings it fills.
struct SettingField
{
    QLatin1StringView key;
    SettingKind kind;
    SettingMember member;
    // Empty for keys that only set what other keys already define.
    SettingValue defaultValue;
    SettingWriting writing = SettingWriting::Spaced;
    // A second flag the same value sets.
    bool Settings::*alsoSets = nullptr;
    // Widths: the columns (bit n for column n) whose widths are read back, and
    // the last column that has a key (0: no limit).
    quint64 columnsRead = 0;
    int lastColumn = 0;

    // The default put into settings, when the field has one.
    void reset(Settings *settings) const;
};

// Every setting, in the order Conf.txt is written.
std::span<const SettingField> SettingFields();
