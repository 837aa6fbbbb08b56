#include "engine/jobs/tageditjob.h"

#include "engine/jobs/jobcontext.h"
#include "engine/jobs/mp3tagjob.h"

PlanOutcome TagEditJob::plan(JobContext &context)
{
    return m_tags.TryTags(context.inputs.searchText, context.inputs.ChkManual);
}

RunOutcome TagEditJob::execute(JobContext &context, bool quiet)
{
    // An unattended run has nobody to confirm the writes.
    return m_tags.ExecuteTags(quiet || context.unattended);
}

void TagEditJob::restoreList(JobContext &)
{
    m_tags.ReloadTags();
    m_tags.rows().clearSelection();
}

int TagEditJob::rowCount(const JobContext &) const
{
    return m_tags.rows().count();
}
