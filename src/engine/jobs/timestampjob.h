#pragma once

#include "engine/jobs/job.h"

// The jobs that set one time-stamp of every listed file: 作成日変更 and 更新日変更.
class TimeStampJob : public Job
{
public:
    PlanOutcome plan(JobContext &context) override;
    RunOutcome execute(JobContext &context, bool quiet) override;
    void restoreList(JobContext &context) override;
};
