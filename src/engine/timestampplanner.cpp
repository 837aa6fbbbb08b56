#include "engine/timestampplanner.h"

#include "engine/jobcontext.h"
#include "engine/numericvalue.h"
#include "engine/plancompletion.h"

#include <QDateTime>

#include <algorithm>
#include <climits>

QString PlannedTimeStamp(QDate baseDate, QTime baseTime, qint64 stepMinutes, int rowIndex)
{
    if (!baseDate.isValid())
        return {};
    // Counting in UTC keeps the steps even on the wall clock, also across a
    // change to or from daylight-saving time.
    const QDateTime base(baseDate, baseTime.isValid() ? baseTime : QTime(0, 0), Qt::UTC);
    return base.addSecs((rowIndex - 1) * stepMinutes * 60).toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

TryResult PlanTimeStamps(JobContext &context, bool quiet)
{
    RenameRowList &rows = context.rows;
    const int count = rows.count();
    if (count == 0)
        return TryResult::Planned;

    context.states.tryEnabled = false;
    const JobInputs &inputs = context.inputs;
    // Without a base date there is nothing to count from; the list stays as it is.
    if (!inputs.baseDate.isValid())
        return CompletePlan(context, TryResult::Invalid);

    const RenameField field = context.job == JobKind::CreatedDate ? RenameField::Created : RenameField::Modified;
    // The box holds a 16-bit number; anything larger is kept within reach of the calendar.
    const qint64 step = std::clamp<qint64>(WholeValue(inputs.stepMinutes), INT_MIN, INT_MAX);
    for (int index = 1; index <= count; ++index)
        rows.editRow(index)[field] = PlannedTimeStamp(inputs.baseDate, inputs.baseTime, step, index);
    rows.changed(1, count);
    return FinishPlan(context, {}, quiet);
}
