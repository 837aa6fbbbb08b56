#pragma once

#include "engine/jobs/jobcontext.h"
#include "engine/jobs/jobkind.h"
#include "engine/jobs/jobsetup.h"

#include <QString>

#include <functional>

class Mp3TagJob;
class UserChannel;
struct CommandStates;
struct JobInputs;
struct LoaderState;

// The job switch with its set-ups: which job is chosen and what the window
// shows for it, the rows carried between the main list and the MP3 list, and
// the inputs seeded from the rows. The controller runs it inside its commands
// and tells the window afterwards; it shows nothing but progress itself.
class JobSwitch
{
public:
    struct Parts
    {
        RenameRowList &rows;
        Mp3TagJob &tagJob;
        LoaderState &loader;
        CommandStates &states;
        JobInputs &inputs;
        UserChannel &user;
    };

    explicit JobSwitch(Parts parts) : m_parts(parts) {}

    JobKind job() const { return m_job; }
    const JobSetup &setup() const { return m_setup; }
    // The numbering preview (txtSample).
    QString preview() const { return m_preview; }
    // The rows the list commands act on: the MP3 list in the MP3 job.
    int activeRowCount() const;

    // Chooses job: drops the plan, carries the rows over and seeds the inputs.
    // context makes the runs that read rows back into the main list.
    void select(JobKind job, bool allTagColumns, bool keepInputs, const std::function<JobContext()> &context);
    // As after a switch into the MP3 job: fresh templates, no plan.
    void restartMp3Job(bool allTagColumns);
    // Fills the MP3 list from the .mp3 files of the main list, which keeps
    // all its files for the next switch to a file job while the MP3 list
    // still holds just those .mp3 files.
    void fillTagRowsKeepingFiles();
    // row: the clicked row's index, or 0 for the first selected row.
    // keepInputs: a command line is being applied, so clicks leave them alone.
    void seedInputs(int row, bool keepInputs);
    void refreshInputs(bool keepInputs);
    // Try follows the search text.
    void followSearchText(bool keepInputs);
    // A rebuilt list has no row under the user's last click.
    void forgetClick() { m_clickedRow = 0; }

private:
    void resetFor(JobKind job, bool allTagColumns);
    void carryRows(JobKind previous, JobKind next, bool keepFiles, const std::function<JobContext()> &context);
    void fillTagRows();
    // The count beside the list, and what a list of count rows offers.
    void countRows(int count);
    QStringList mp3PathsOfMainList() const;

    Parts m_parts;
    JobKind m_job = Jobs::Default;
    bool m_hasPreviousJob = false;
    JobKind m_previousJob = Jobs::Default;
    JobSetup m_setup = JobSetup::forJob(Jobs::Default, false);
    QString m_preview;
    int m_clickedRow = 0;
    bool m_filesKept = false;
};
