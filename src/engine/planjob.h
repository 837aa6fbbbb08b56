#pragma once

#include "engine/tryresult.h"

struct JobContext;

// Try for every job but the MP3 job: plans the new names or time-stamps of
// every row of context.rows, checks them, selects the rows the user should
// look at, sets the command states and shows the outcome. quiet suppresses
// only the message of success. Never touches the disk. An empty list gives
// Planned at once and changes nothing.
TryResult PlanJob(JobContext &context, bool quiet);
