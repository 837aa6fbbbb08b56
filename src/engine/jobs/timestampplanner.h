#pragma once

#include "engine/jobs/planoutcome.h"

#include <QDate>
#include <QString>
#include <QTime>

struct JobContext;

// The planned time-stamp text of the row at rowIndex: the base date and time
// plus (rowIndex - 1) steps of stepMinutes, counted on the wall clock, as
// "yyyy/mm/dd hh:mm:ss". Empty when the base date is not a date.
QString PlannedTimeStamp(QDate baseDate, QTime baseTime, qint64 stepMinutes, int rowIndex);

// Try for the two time-stamp jobs: writes the planned
// creation or last-write time of every row into Created or Modified, leaving
// the names and the other time-stamp alone. Taking each file's EXIF moment,
// a file without one keeps its stamp and its row is marked NoExifTime.
PlanOutcome PlanTimeStamps(JobContext &context);
