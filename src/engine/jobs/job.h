#pragma once

#include "engine/jobs/jobkind.h"
#include "engine/jobs/planoutcome.h"
#include "engine/run/runoutcome.h"

#include <QStringList>

#include <memory>

class Mp3TagJob;
class NamePreview;
struct JobContext;

// One of the six jobs, as the controller drives it: Try, Execute and
// "元に戻す" over the rows the job works on. A job shows the questions and
// failures of its run as they come; the messages that end it, and the
// commands offered afterwards, follow the outcomes it returns.
class Job
{
public:
    virtual ~Job() = default;

    // Plans every row and checks the plan; never touches the disk.
    virtual PlanOutcome plan(JobContext &context) = 0;
    // Applies the plan Try left in the rows to the disk.
    virtual RunOutcome execute(JobContext &context, bool quiet) = 0;
    // Drops the plan without touching the disk: the rows show the disk again.
    virtual void restoreList(JobContext &context) = 0;
    // The planned names of rows first..last as Try would make them now, with
    // nothing shown, checked or written; empty for a job that plans no names.
    virtual QStringList preview(JobContext &context, NamePreview &names, int first, int last);
    // How many rows the job works on.
    virtual int rowCount(const JobContext &context) const;
};

// The job of kind; the MP3 job works on tags's rows.
std::unique_ptr<Job> MakeJob(JobKind kind, Mp3TagJob &tags);
