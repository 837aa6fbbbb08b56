#pragma once

#include "engine/jobs/planoutcome.h"

#include <QString>

struct JobContext;

// Plans NewName of every row from its CurrentName by the search and replace
// strings (the file-name and the folder-name job), checks each planned name
// and then all planned paths for collisions. Never touches the disk.
PlanOutcome PlanReplace(JobContext &context);

// The planned name of the row at rowIndex, as PlanReplace makes it, without
// the checks; ErrorMarker when the text engine failed (it has said why).
QString PlannedReplaceName(JobContext &context, int rowIndex);
