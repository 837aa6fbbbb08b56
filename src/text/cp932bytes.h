#pragma once

#include <QString>

#include <optional>

// Texts measured in code page 932 bytes, as the byte-wise functions (LENB,
// LEFTB, RIGHTB, MIDB) and CHR count them. A character the code page lacks counts as
// two bytes, like the double-byte characters, so that no count splits it.
namespace Cp932Bytes {

qint64 length(const QString &text);
// The characters whose bytes lie wholly inside [from, from + count); a
// character cut in two is dropped.
QString slice(const QString &text, qint64 from, qint64 count);
// The character of a code page 932 code; none for a code without a
// printable character there.
std::optional<QString> characterOf(qint64 code);

}
