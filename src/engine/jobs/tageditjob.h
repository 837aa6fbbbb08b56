#pragma once

#include "engine/jobs/job.h"

class Mp3TagJob;

// "ＭＰ３タグ編集": plans and writes the tags of the MP3 list's files.
class TagEditJob : public Job
{
public:
    explicit TagEditJob(Mp3TagJob &tags) : m_tags(tags) {}

    PlanOutcome plan(JobContext &context) override;
    RunOutcome execute(JobContext &context, bool quiet) override;
    void restoreList(JobContext &context) override;
    int rowCount(const JobContext &context) const override;

private:
    Mp3TagJob &m_tags;
};
