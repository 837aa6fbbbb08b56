#include "engine/jobs/timestampjob.h"

#include "engine/jobs/jobcontext.h"
#include "engine/jobs/plancompletion.h"
#include "engine/jobs/timestampplanner.h"
#include "engine/run/executerename.h"
#include "engine/run/restore.h"

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
