#include "engine/renamejob.h"

#include "engine/executerename.h"
#include "engine/jobcontext.h"
#include "engine/namepreview.h"
#include "engine/numberingplanner.h"
#include "engine/plancompletion.h"
#include "engine/replaceplanner.h"
#include "engine/restore.h"

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
    return names.names(context.rows, m_numbering, context.inputs, context.options, first, last);
}
