#pragma once

#include <QString>

// Numbers as the evaluator and the function library read and write them.
namespace NumberText {

// The general form: at most 15 significant digits, no trailing zeros, "." as
// the decimal point, an exponent like 1E+20 or 1E-07 for very large or small values.
QString fromDouble(double value);

// A whole operand: optional sign, digits with at most one decimal point,
// optional exponent with "E". Blanks around it are allowed.
bool isNumber(const QString &text);
double toDouble(const QString &text);

// A whole text as a number, more liberal than isNumber: blanks around it, a
// sign, "e" or "E" exponents. Used where a value may be either number or text.
bool readNumber(const QString &text, double &value);

// To the nearest integer with halves to the even neighbour; false when the
// value does not fit in the given range.
bool toInteger(double value, qint64 minimum, qint64 maximum, qint64 &result);

}
