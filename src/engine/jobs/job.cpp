#include "engine/jobs/job.h"

#include "engine/jobs/jobcontext.h"
#include "engine/jobs/renamejob.h"
#include "engine/jobs/tageditjob.h"
#include "engine/jobs/timestampjob.h"

QStringList Job::preview(JobContext &, NamePreview &, int, int)
{
    return {};
}

int Job::rowCount(const JobContext &context) const
{
    return context.rows.count();
}

std::unique_ptr<Job> MakeJob(JobKind kind, Mp3TagJob &tags)
{
    switch (kind) {
    case JobKind::Numbering:
    case JobKind::FileNameReplace:
    case JobKind::FolderRename:
        return std::make_unique<RenameJob>(kind == JobKind::Numbering);
    case JobKind::CreatedDate:
    case JobKind::ModifiedDate:
        return std::make_unique<TimeStampJob>();
    case JobKind::Mp3TagEdit:
        break;
    }
    return std::make_unique<TagEditJob>(tags);
}
