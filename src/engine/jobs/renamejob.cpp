#include "engine/jobs/renamejob.h"

#include "engine/jobs/jobcontext.h"
#include "engine/jobs/namepreview.h"
#include "engine/jobs/numberingplanner.h"
#include "engine/jobs/plancompletion.h"
#include "engine/jobs/replaceplanner.h"
#include "engine/run/executerename.h"
#include "engine/run/restore.h"

PlanOutcome RenameJob::plan(JobContext &context)
{
    ClearRejections(context.rows);
    return m_numbering ? PlanNumbering(context) : PlanReplace(context);
}

RunOutcome RenameJob::execute(JobContext &context, bool quiet)
{
    return RenameItems(context, quiet);
}

void RenameJob::restoreList(JobContext &context)
{
    RestoreList(context);
    context.rows.clearSelection();
}

QStringList RenameJob::preview(JobContext &context, NamePreview &names, int first, int last)
{
    return names.names(context.rows, context.job, context.inputs, context.options, first, last);
}
