#pragma once

#include <QString>

// The number a box's text stands for, read the way users type numbers: blanks
// are ignored, the longest leading decimal number counts ("12ab" is 12), and a
// text without one is 0.
double NumericValue(const QString &text);

// NumericValue rounded to the nearest whole number, halves to the even neighbour.
qint64 WholeValue(const QString &text);
