#include "engine/jobs/timestampplanner.h"

#include "engine/jobs/jobcontext.h"
#include "engine/jobs/plancompletion.h"

#include "platform/crlf.h"
#include "platform/filesystem.h"
#include "platform/leadingnumber.h"
#include "platform/pathtext.h"
#include "platform/progressmeter.h"
#include "text/exifreader.h"

#include <QDateTime>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <optional>

QString PlannedTimeStamp(QDate baseDate, QTime baseTime, qint64 stepMinutes, int rowIndex)
{
    if (!baseDate.isValid())
        return {};
    // Counting in UTC keeps the steps even on the wall clock, also across a
    // change to or from daylight-saving time.
    const QDateTime base(baseDate, baseTime.isValid() ? baseTime : QTime(0, 0), Qt::UTC);
    return base.addSecs((rowIndex - 1) * stepMinutes * 60).toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

namespace {

// The folders whose file system cannot set creation times, asked once a
// folder through its first listed file, as a message; their rows are refused.
QString uncreatableFolders(JobContext &context)
{
    QSet<QString> asked;
    QStringList refused;
    std::vector<int> rowsThere;
    for (int index = 1; index <= context.rows.count(); ++index) {
        const RenameRow &row = context.rows.row(index);
        const QString &folder = row[RenameField::Folder];
        if (!asked.contains(folder)) {
            asked.insert(folder);
            const FsStatus status = context.files.createdTimeSupport(JoinPath(folder, row[RenameField::CurrentName]));
            if (status.code == ENOTSUP)
                refused << folder;
        }
        if (refused.contains(folder))
            rowsThere.push_back(index);
    }
    if (refused.isEmpty())
        return {};
    for (const int index : rowsThere)
        context.rows.editRow(index).rejection = RowRejection::CreationTimeUnsupported;
    SelectOnlyRows(context.rows, rowsThere);
    return QStringLiteral("次のフォルダのファイルシステムでは作成日を変更できません。\r\n\r\n")
           + refused.join(CrLf);
}

// Each listed file's EXIF moment, empty where it has none. Photos on a card
// or a share take a while to read: the read shows its progress, and a stop
// gives none.
std::optional<QStringList> exifMoments(JobContext &context)
{
    QStringList moments;
    ProgressMeter progress(context.user, context.rows.count(), ProgressMeter::Direction::Up);
    for (int index = 1; index <= context.rows.count(); ++index) {
        const QString &path = context.rows.row(index)[RenameField::Path];
        moments << (context.exif ? context.exif->exifFields(path).moment : QString());
        if (!progress.at(index))
            return std::nullopt;
    }
    return moments;
}

} // namespace

PlanOutcome PlanTimeStamps(JobContext &context)
{
    RenameRowList &rows = context.rows;
    const int count = rows.count();
    if (count == 0)
        return {};

    const JobInputs &inputs = context.inputs;
    // Without a base date there is nothing to count from; the list stays as it is.
    if (!inputs.useExifTime && !inputs.baseDate.isValid())
        return CompletePlan(context, TryResult::Invalid);

    if (context.job == JobKind::CreatedDate) {
        if (const QString refusal = uncreatableFolders(context); !refusal.isEmpty())
            return CompletePlan(context, TryResult::Invalid, refusal);
    }
    std::optional<QStringList> moments;
    if (inputs.useExifTime && !(moments = exifMoments(context)))
        return CompletePlan(context, TryResult::Invalid);
    const RenameField field = context.job == JobKind::CreatedDate ? RenameField::Created : RenameField::Modified;
    // The box holds a 16-bit number; anything larger is kept within reach of the calendar.
    const qint64 step = std::clamp<qint64>(LeadingNumber::wholeOfInput(inputs.stepMinutes), INT_MIN, INT_MAX);
    int changing = 0;
    for (int index = 1; index <= count; ++index) {
        RenameRow &row = rows.editRow(index);
        const QString planned =
            moments ? moments->at(index - 1) : PlannedTimeStamp(inputs.baseDate, inputs.baseTime, step, index);
        // A photo without its moment keeps its stamp, never the present time.
        if (planned.isEmpty()) {
            row.rejection = RowRejection::NoExifTime;
            continue;
        }
        changing += planned != row[field];
        row.set(field, planned);
    }
    rows.changed(1, count);
    // The names stay, so no row is selected as changed; the count says how many stamps do.
    PlanOutcome outcome = FinishPlan(context, {});
    if (outcome.result == TryResult::Planned)
        outcome.changing = changing;
    return outcome;
}
