#pragma once

#include <QString>

// Case-insensitive search and replace for ASCII placeholders and names. Only
// A-Z and a-z fold, so no other character (such as "ſ" or the Kelvin sign)
// can stand for a letter of a placeholder.
namespace AsciiText {

qsizetype indexOf(const QString &text, QStringView needle, qsizetype from = 0);
bool contains(const QString &text, QStringView needle);
bool matchesAt(const QString &text, qsizetype at, QStringView needle);
// indexOf for an opening "name(": the same answer, found through the "(".
qsizetype indexOfCall(const QString &text, QStringView opening, qsizetype from = 0);
// Every occurrence of needle, found in any letter case, becomes value.
void replaceAll(QString &text, QStringView needle, const QString &value);

}
