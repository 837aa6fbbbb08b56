#pragma once

#include <QString>

// How Corvane's stored files read and write numbers; the leading number of a
// value is LeadingNumber::ofStoredValue.
namespace StoredNumber {

// Rounds to the nearest whole number (halves to the even neighbour). *fits is
// false when the result does not fit in 32 bits; the result is then 0.
int roundToInt32(double value, bool *fits);

// True when the whole text, blanks around it aside, is one number.
bool isNumeric(const QString &text);

// A number as the files write it: whole numbers without a fraction.
QString format(double value);

} // namespace StoredNumber
