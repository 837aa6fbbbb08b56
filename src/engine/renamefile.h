#pragma once

#include <QString>

class FileSystem;

// Renames the file or folder at from to to. Never replaces an item that
// exists at to. Returns the empty text on success, otherwise the error number,
// a blank and the system's description.
QString RenameFile(FileSystem &files, const QString &from, const QString &to);
