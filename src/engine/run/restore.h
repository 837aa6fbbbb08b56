#pragma once

#include "engine/run/runoutcome.h"

struct JobContext;

// "元のファイル名に戻す": gives every item the last execution renamed the name
// it had before. Each item is first parked under its earlier name followed by
// "##" and then takes that name, so exchanged or shifted names come back
// without colliding. Asks once before the first rename; failures are shown one
// by one until the user declines to see more. Items that are not where the
// row says, and rows without an earlier name, are left alone. The outcome
// says whether items are left to put back.
RunOutcome RestoreNames(JobContext &context);

// "元に戻す": drops the plan of the last Try without touching the disk. Every
// row shows its current name as planned name again, with its two dates read
// afresh (a row whose item is gone keeps its dates).
void RestoreList(JobContext &context);
