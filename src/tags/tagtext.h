#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// How ID3 tags hold text. Reading is liberal, so that what older writers left
// stays readable; writing uses only forms that every reader decodes alike.
namespace TagText {

// The ID3v2 text encodings: 0 ISO-8859-1, 1 UTF-16 with a byte-order mark,
// 2 UTF-16 big-endian, 3 UTF-8.
bool isUtf16(int encoding);
int terminatorWidth(int encoding);
// Where the string starting at from ends; -1 when it runs to the end.
qsizetype findTerminator(QByteArrayView bytes, qsizetype from, int encoding);

// One string of a frame. Encoding 0 is read as code page 932, which the files
// Corvane serves have always stored there (plain Latin-1 reads the same for ASCII).
QString decode(QByteArrayView bytes, int encoding);
// All strings of a text frame: terminators at the end are dropped, several
// values (ID3v2.4 separates them with NUL) are joined by "/".
QString decodeStrings(QByteArrayView bytes, int encoding);

// The encoding text is written with in an ID3v2 tag of the given major
// version: 0 for plain ASCII, otherwise UTF-8 in 2.4 and UTF-16 in 2.3.
int encodingFor(const QString &text, int version);
// text in encoding, without terminator; UTF-16 gets its byte-order mark.
QByteArray encode(const QString &text, int encoding);

// An ID3v1 field: valid code page 932 reads as such, anything else as Latin-1.
QString decodeV1(QByteArrayView bytes);
// text for an ID3v1 field of length bytes, cut at a character boundary: code
// page 932 when it holds every character, else Latin-1 when that does, else
// code page 932 with '?' for what it cannot hold, and *lossless false.
QByteArray encodeV1(const QString &text, int length, bool *lossless);

} // namespace TagText
