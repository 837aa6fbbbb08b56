#pragma once

#include <QString>

// Path texts as the lists show them. Paths use "/"; a row's folder has no
// trailing "/" except the root folder itself.

// The text after the last dot, when that dot follows the last "/" and "\" and
// the text has at most 4 characters; otherwise empty. Enclosing blanks and
// double quotes do not count.
QString ExtensionOf(const QString &path);

// Trims blanks and strips enclosing double quotes, repeatedly.
QString Unquote(const QString &text);

// Empty when folder is empty; folder + name when folder ends with "/";
// otherwise folder, "/" and name.
QString JoinPath(const QString &folder, const QString &name);

// The text after the last "/", or the whole text when there is none.
QString FileNameOf(const QString &path);

// Trims blanks, drops enclosing double quotes, and returns the text before the
// last "/" ("/" itself for an item in the root folder), or the whole text when
// there is no "/".
QString FolderOf(const QString &path);
