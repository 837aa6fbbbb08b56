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
};
