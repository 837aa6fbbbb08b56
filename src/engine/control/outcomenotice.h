#pragma once

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
// the offer to open the run's folder on desktop (none opens nothing).
void showRun(UserChannel &user, FolderOpener *desktop, const RunOutcome &outcome, bool quiet);

} // namespace OutcomeNotice
