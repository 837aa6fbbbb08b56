#pragma once

#include <QString>

// How Corvane's stored files read numbers.
namespace NumberText {

// The leading numeric part of text: blanks are skipped, then an optional sign,
// digits, a fraction and an exponent. Text that starts with anything else reads as 0.
double leading(const QString &text);

// Rounds to the nearest whole number (halves to the even neighbour). *fits is
// false when the result does not fit in 32 bits; the result is then 0.
int roundToInt32(double value, bool *fits);

// True when the whole text, blanks around it aside, is one number.
bool isNumeric(const QString &text);

// A number as the files write it: whole numbers without a fraction.
QString format(double value);

} // namespace NumberText
