#pragma once

#include "engine/jobs/job.h"

// The jobs that give items new names: 連番作成, ファイル名置換 and フォルダ名変更.
class RenameJob : public Job
{
public:
    explicit RenameJob(bool numbering) : m_numbering(numbering) {}

    PlanOutcome plan(JobContext &context) override;
    RunOutcome execute(JobContext &context, bool quiet) override;
    void restoreList(JobContext &context) override;
    QStringList preview(JobContext &context, NamePreview &names, int first, int last) override;

private:
    bool m_numbering;
};
