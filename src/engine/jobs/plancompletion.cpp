#include "engine/jobs/plancompletion.h"

#include "engine/jobs/collisioncheck.h"
#include "engine/jobs/jobcontext.h"
#include "platform/crlf.h"
#include "platform/userchannel.h"

#include <QStringList>

namespace {

QString duplicateMessage()
{
    return QStringList{QStringLiteral("ファイル名重複・・変更不可！"), QString(),
                       QStringLiteral("-- リストの反転表示行 --"), QString(),
                       QStringLiteral("「元に戻す」をクリック後、条件を再設定して下さい。")}
        .join(CrLf);
}

} // namespace

void ClearRejections(RenameRowList &rows)
{
    for (int index = 1; index <= rows.count(); ++index)
        rows.editRow(index).rejection = RowRejection::None;
}

void ClearPlan(RenameRowList &rows)
{
    for (int index = 1; index <= rows.count(); ++index) {
        RenameRow &row = rows.editRow(index);
        row.set(RenameField::NewName, row.currentName());
        row.rejection = RowRejection::None;
    }
    SelectOnlyRows(rows, {});
}

void SelectOnlyRows(RenameRowList &rows, const std::vector<int> &rowIndexes)
{
    if (rows.isEmpty())
        return;
    for (int index = 1; index <= rows.count(); ++index)
        rows.editRow(index).selected = false;
    for (const int index : rowIndexes)
        rows.editRow(index).selected = true;
    rows.changed(1, rows.count());
}

PlanOutcome FinishPlan(JobContext &context, const std::vector<int> &changedRows)
{
    const std::vector<int> colliding = CollidingRows(context.rows);
    if (!colliding.empty()) {
        for (const int index : colliding)
            context.rows.editRow(index).rejection = RowRejection::DuplicateTarget;
        SelectOnlyRows(context.rows, colliding);
        return CompletePlan(context, TryResult::Duplicate, duplicateMessage());
    }
    SelectOnlyRows(context.rows, changedRows);
    PlanOutcome outcome = CompletePlan(context, TryResult::Planned);
    outcome.changing = static_cast<int>(changedRows.size());
    return outcome;
}

PlanOutcome RejectFaultyRows(JobContext &context, const std::vector<RowFault> &faults)
{
    std::vector<int> faulty;
    faulty.reserve(faults.size());
    QString text;
    for (const RowFault &fault : faults) {
        faulty.push_back(fault.rowIndex);
        context.rows.editRow(fault.rowIndex).rejection = fault.reason;
        text += QString::number(fault.rowIndex) + u' ' + fault.message + CrLf + CrLf;
    }
    SelectOnlyRows(context.rows, faulty);
    return CompletePlan(context, TryResult::Invalid, text);
}

PlanOutcome CompletePlan(JobContext &context, TryResult result, const QString &message)
{
    context.user.setProgressVisible(false);
    PlanOutcome outcome;
    outcome.result = result;
    outcome.total = context.rows.count();
    for (const RenameRow &row : context.rows.rows())
        outcome.refused += row.rejection != RowRejection::None;
    outcome.message = message;
    return outcome;
}
