#pragma once

#include <QString>

// The number a text starts with, as each place of Corvane reads one. Blanks
// (space, tab, CR, LF) are skipped; then come an optional sign, digits with at
// most one decimal point, and an optional exponent. A text without digits
// there reads as 0. The places differ in the details below, which stored files
// and users' formulas rely on.
namespace LeadingNumber {

// A box of the numbering and date jobs: blanks anywhere are ignored, the
// exponent is "e" or "E"; a value beyond the range of a double reads as 0.
double ofInput(const QString &text);
// ofInput rounded to the nearest whole number, halves to the even neighbour.
qint64 wholeOfInput(const QString &text);

// An argument of the expression language: as ofInput, with a "d" or "D"
// exponent too, and "&H" followed by up to eight hexadecimal digits read as a
// 32-bit two's complement number. Beyond the range: an infinity, so that the
// function using it fails visibly.
double ofExpression(const QString &text);

// A value of Conf.txt or of a command file: as ofExpression without "&H", and
// no blanks inside the exponent. Digits that do not convert give an infinity
// of their sign.
double ofStoredValue(const QString &text);

// The length of the number at the very start of text, blanks not skipped:
// sign, digits with at most one point, then an exponent with one of the
// given letters when one follows; 0 when there is no digit.
qsizetype lengthAt(QStringView text, QStringView exponentLetters);

} // namespace LeadingNumber
