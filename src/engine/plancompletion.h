#pragma once

#include "engine/renamerowlist.h"
#include "engine/tryresult.h"

#include <QString>

#include <vector>

struct JobContext;

// The steps every planner ends with. After a Try the selection is its result
// display: the changed rows after success, the faulty or colliding rows otherwise.

// A row whose planned name cannot be used, and why (PlannedNameFault).
struct RowFault
{
    int rowIndex;
    QString message;
    RowRejection reason;
};

// Selects exactly the rows given by RowIndex, telling the views once.
void SelectOnlyRows(RenameRowList &rows, const std::vector<int> &rowIndexes);

// The collision check over every row, then the completion: Duplicate with the
// colliding rows selected and marked, or Planned with changedRows selected and, unless
// quiet or unattended, the hint to execute.
TryResult FinishPlan(JobContext &context, const std::vector<int> &changedRows, bool quiet);

// Ends a run whose planned names are not all acceptable: Invalid, the faulty
// rows selected and marked with their reason, and every fault listed in one box.
TryResult RejectFaultyRows(JobContext &context, const std::vector<RowFault> &faults);

// Sets the command states for result, hides the progress frame and shows
// message (if any) in one plain box. Returns result.
TryResult CompletePlan(JobContext &context, TryResult result, const QString &message = {});
