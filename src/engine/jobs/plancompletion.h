#pragma once

#include "engine/jobs/planoutcome.h"
#include "engine/rows/renamerowlist.h"

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

// The reasons of the previous Try belong to names about to be replaced.
void ClearRejections(RenameRowList &rows);

// Selects exactly the rows given by RowIndex, telling the views once.
void SelectOnlyRows(RenameRowList &rows, const std::vector<int> &rowIndexes);

// The collision check over every row, then the completion: Duplicate with the
// colliding rows selected and marked, or Planned with changedRows selected.
PlanOutcome FinishPlan(JobContext &context, const std::vector<int> &changedRows);

// Ends a run whose planned names are not all acceptable: Invalid, the faulty
// rows selected and marked with their reason, and every fault listed in its message.
PlanOutcome RejectFaultyRows(JobContext &context, const std::vector<RowFault> &faults);

// Hides the progress frame and makes the outcome of result, with message (if
// any) to be shown in one plain box.
PlanOutcome CompletePlan(JobContext &context, TryResult result, const QString &message = {});
