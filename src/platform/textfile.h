#pragma once

#include <QString>

// Whole-file text reads and writes in Corvane's text-file code page (see CodePage).
class TextFile
{
public:
    // Returns false when the file cannot be read; *text is then empty.
    static bool read(const QString &path, QString *text);
    // Replaces any file at path with text. Returns an error text, empty on success.
    static QString write(const QString &path, const QString &text);

    // The same for Corvane's own files (settings, templates, the error log),
    // which are never read or written through a link or when another user
    // could have planted them (OwnFile). readOwn is false when the file is
    // missing or refused, and then *error says why unless it is missing.
    static bool readOwn(const QString &path, QString *text, QString *error);
    static QString writeOwn(const QString &path, const QString &text);
};
