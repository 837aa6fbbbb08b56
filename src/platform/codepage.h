#pragma once

#include <QByteArray>
#include <QString>

// Text files and tag text are code page 932 (windows-31j) on the systems Corvane's
// files come from. Reading is liberal; writing never loses a character.
class CodePage
{
public:
    // Bytes of code page 932 to text; undecodable bytes become U+FFFD.
    static QString fromCp932(const QByteArray &bytes);
    // Text to code page 932. *lossless is false when a character has no code there.
    static QByteArray toCp932(const QString &text, bool *lossless = nullptr);
    static bool holds(const QString &text);

    // A UTF-8 byte-order mark, or valid UTF-8 with non-ASCII bytes, means UTF-8;
    // anything else is code page 932.
    static QString decodeText(const QByteArray &bytes);
    // Code page 932 when it holds every character, otherwise UTF-8 with a byte-order mark.
    static QByteArray encodeText(const QString &text);

    static bool isValidUtf8(const QByteArray &bytes);
};
