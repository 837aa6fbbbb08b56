#include "engine/timestampjob.h"

#include "engine/executerename.h"
#include "engine/jobcontext.h"
#include "engine/plancompletion.h"
#include "engine/restore.h"
#include "engine/timestampplanner.h"

PlanOutcome TimeStampJob::plan(JobContext &context)
{
    ClearRejections(context.rows);
    return PlanTimeStamps(context);
}

RunOutcome TimeStampJob::execute(JobContext &context, bool quiet)
{
    return SetTimeStamps(context, quiet);
}

void TimeStampJob::restoreList(JobContext &context)
{
    RestoreList(context);
    context.rows.clearSelection();
}
