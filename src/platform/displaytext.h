#pragma once

#include <QDateTime>
#include <QString>

// The texts the lists show for dates and sizes.

// "yyyy/mm/dd hh:mm:ss" in local time, 24-hour; empty for an invalid time.
QString DateText(const QDateTime &time);
// The same for a time in seconds since the epoch; the time zone is read once
// per process, not for every date.
QString DateText(qint64 secondsSinceEpoch);
// Reads a DateText back as local time; invalid when the text is not one.
QDateTime ParseDateText(const QString &text);

// Decimal digits grouped by three with ",": "0", "1,234,567".
QString SizeText(qint64 bytes);
// The number a SizeText stands for; 0 for anything else.
qint64 ParseSizeText(const QString &text);

// U+0000 to U+001F and U+007F.
bool IsControlCharacter(QChar c);
// text with every control character (U+0000 to U+001F, U+007F) written as an
// escape, "\n", "\r", "\t", "\0" or "\x1b", so that a message shows a name whole.
QString EscapedText(const QString &text);

// Long loops update their progress every ProgressStep(rows) rows:
// max(1, rows / 20) rounded to the nearest integer, halves to the even neighbour.
int ProgressStep(int rows);
