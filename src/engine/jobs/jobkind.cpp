#include "engine/jobs/jobkind.h"

#include "persist/joblabels.h"

namespace Jobs {

QString label(JobKind job)
{
    return JobLabels::at(position(job));
}

int position(JobKind job)
{
    return static_cast<int>(job);
}

JobKind fromPosition(int position, JobKind fallback)
{
    if (position < 0 || position >= Count)
        return fallback;
    return static_cast<JobKind>(position);
}

bool fromLabel(const QString &text, JobKind *job)
{
    const int position = JobLabels::positionOf(text);
    if (position < 0)
        return false;
    *job = static_cast<JobKind>(position);
    return true;
}

QStringList labels()
{
    QStringList all;
    for (int at = 0; at < Count; ++at)
        all << JobLabels::at(at);
    return all;
}

} // namespace Jobs
