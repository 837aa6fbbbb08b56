#pragma once

#include <QDateTime>
#include <QString>

// The format language of FORMAT and the format tokens: number patterns
// (0 # . , % E+ E- and literal or quoted text, up to four sections separated
// by ";") and date patterns (d dd ddd dddd m mm mmm mmmm yy yyyy h hh n nn s ss,
// AM/PM, "/" and ":"; "m" right after an hour code means minutes).
namespace ValueFormatter {

// A number text formatted as a number, or as a date with a date pattern; a
// date text with a date pattern; anything else comes back unformatted.
QString format(const QString &value, const QString &pattern);

QString formatNumber(double value, const QString &pattern);
QString formatDate(const QDateTime &time, const QString &pattern);

// True when the pattern holds date or time codes outside quoted text.
bool isDatePattern(const QString &pattern);

}
