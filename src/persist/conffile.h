#pragma once

#include <QString>

struct Settings;
class UserChannel;

// Conf.txt: one setting per line, a key, " = " and a value, CR LF after each.

// Where Conf.txt lives.
QString ConfPath();

// Reads the settings file at path over *settings, which the caller has set to
// the defaults. A missing file is not an error. Lines without exactly one "="
// and unknown keys are skipped; a later line wins over an earlier one. On the
// first error (the file cannot be read, a number beyond 32 bits) the user is
// shown "設定値異常", reading stops, and every setting not read so far keeps
// the value it had. Returns the error as "number description", empty when none.
QString ConfLoad(const QString &path, Settings *settings, UserChannel &user);

// Writes every setting to path as a whole new file, in Corvane's fixed key
// order. Returns the error text, empty on success; the earlier file then stays whole.
QString ConfSave(const QString &path, const Settings &settings);
