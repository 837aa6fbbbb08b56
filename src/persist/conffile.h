#pragma once

#include <QString>

struct Settings;
class UserChannel;

// Conf.txt: one setting per line, a key, " = " and a value, CR LF after each.

// Where Conf.txt lives.
QString ConfPath();

// Reads the settings file at path over *settings, which the caller has set to
// the defaults. A missing file is not an error. A line is split at its first
// "=" and loses the one blank after it; lines without "=" and unknown keys are
// skipped; a later line wins over an earlier one. When the file cannot be read,
// or a number does not fit in 32 bits (that setting keeps its value, every
// other line still applies), the user is shown "設定値異常". Returns the error
// as "number description", empty when none.
QString ConfLoad(const QString &path, Settings *settings, UserChannel &user);

// Writes every setting to path as a whole new file, in Corvane's fixed key
// order. Returns the error text, empty on success; the earlier file then stays whole.
QString ConfSave(const QString &path, const Settings &settings);
