#pragma once

#include <QDateTime>
#include <QString>

// Dates as day serial numbers (the date-times here carry wall-clock fields in
// UTC form, so no daylight-saving gap can move them): the whole part counts days from 1899-12-30, the
// fraction is the time of day (for days before that date the fraction still
// adds time, as in the OLE Automation date).
namespace DateSerial {

double fromDateTime(const QDateTime &time);
QDateTime toDateTime(double serial);

// Reads a date and time text: "y/m/d", "y-m-d" or "y年m月d日", optionally
// followed by a time "h:m" or "h:m:s" with an optional AM/PM; or a time alone.
// Two-digit years 00-29 are 2000-2029, 30-99 are 1930-1999. A time alone lies on
// day 0 (1899-12-30).
bool parse(const QString &text, QDateTime &result);

// Like parse, and a number text is taken as a day serial number.
bool toDateTime(const QString &text, QDateTime &result);

int windowedYear(int year);

}
