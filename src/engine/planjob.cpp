#include "engine/planjob.h"

#include "engine/jobcontext.h"
#include "engine/numberingplanner.h"
#include "engine/replaceplanner.h"
#include "engine/timestampplanner.h"

TryResult PlanJob(JobContext &context, bool quiet)
{
    // The reasons of the previous Try belong to names about to be replaced.
    for (int index = 1; index <= context.rows.count(); ++index)
        context.rows.editRow(index).rejection = RowRejection::None;
    switch (context.job) {
    case JobKind::Numbering:
        return PlanNumbering(context, quiet);
    case JobKind::FileNameReplace:
    case JobKind::FolderRename:
        return PlanReplace(context, quiet);
    case JobKind::CreatedDate:
    case JobKind::ModifiedDate:
        return PlanTimeStamps(context, quiet);
    case JobKind::Mp3TagEdit:
        break;
    }
    // The MP3 job plans its tag rows elsewhere: nothing of this list may be executed for it.
    return TryResult::NothingToChange;
}
