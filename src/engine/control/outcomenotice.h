#pragma once

#include <QString>

class FolderOpener;
class UserChannel;
struct PlanOutcome;
struct RunOutcome;

// The messages that end a Try or an Execute, the same for every job.
namespace OutcomeNotice {

// The refusal the plan gives, or after a plan that can run, unless quiet,
// "試行完了！" with the hint to execute.
void showPlan(UserChannel &user, const PlanOutcome &outcome, bool quiet);

// "異常終了" when anything failed; otherwise, unless quiet, "変換完了" and
// the offer to open the run's folder on desktop (none opens nothing). Both
// give the run's counts.
void showRun(UserChannel &user, FolderOpener *desktop, const RunOutcome &outcome, bool quiet);
// The counts of a run that puts names back, under title, once it has run.
void showUndone(UserChannel &user, const RunOutcome &outcome, const QString &title);

// The one line each command ends with, for the status bar and, unattended, stderr.
QString planStatus(const PlanOutcome &outcome, bool stopped);
QString runStatus(const RunOutcome &outcome);
// "元に戻す" over rows rows.
QString restoredStatus(int rows);

} // namespace OutcomeNotice
