#include "engine/control/jobswitch.h"

#include "engine/control/commandstates.h"
#include "engine/jobs/jobinputs.h"
#include "engine/jobs/mp3tagjob.h"
#include "engine/jobs/numberingplanner.h"
#include "engine/load/fileload.h"
#include "engine/load/filerowreader.h"
#include "engine/load/loaderstate.h"
#include "engine/rows/listcommands.h"
#include "platform/displaytext.h"
#include "platform/pathtext.h"
#include "platform/progressmeter.h"
#include "platform/userchannel.h"

#include <utility>

namespace {

// The status while rows are carried between the lists.
QString carryingStatus()
{
    return QStringLiteral("ファイル処理中");
}

} // namespace

int JobSwitch::activeRowCount() const
{
    return Jobs::editsTags(m_job) ? m_parts.tagJob.rows().count() : m_parts.rows.count();
}

void JobSwitch::select(JobKind job, bool allTagColumns, bool keepInputs, const std::function<JobContext()> &context)
{
    const bool hadPrevious = m_hasPreviousJob;
    const JobKind previous = m_previousJob;
    const bool keepFiles = std::exchange(m_filesKept, false);
    m_job = job;
    resetFor(job, allTagColumns);
    if (Jobs::editsTags(job))
        m_parts.tagJob.resetTemplates();
    if ((hadPrevious && previous == JobKind::FolderRename) || job == JobKind::FolderRename)
        m_parts.rows.clear();
    carryRows(hadPrevious ? previous : job, job, keepFiles, context);
    if (Jobs::setsTimeStamps(job)) {
        JobContext run = context();
        ReadPendingFacts(run);
    }
    m_previousJob = job;
    m_hasPreviousJob = true;
    seedInputs(0, keepInputs);
}

void JobSwitch::restartMp3Job(bool allTagColumns)
{
    resetFor(JobKind::Mp3TagEdit, allTagColumns);
    m_parts.tagJob.resetTemplates();
    fillTagRows();
    m_filesKept = false;
}

void JobSwitch::fillTagRowsKeepingFiles()
{
    fillTagRows();
    m_filesKept = true;
}

void JobSwitch::resetFor(JobKind job, bool allTagColumns)
{
    m_parts.states.jobChanged();
    m_preview.clear();
    m_setup = JobSetup::forJob(job, allTagColumns);
}

void JobSwitch::carryRows(JobKind previous, JobKind next, bool keepFiles,
                          const std::function<JobContext()> &context)
{
    const bool toMp3 = Jobs::editsTags(next);
    const bool fromMp3 = Jobs::editsTags(previous);
    if (toMp3 == fromMp3 || (fromMp3 && next == JobKind::FolderRename)) {
        if (!toMp3)
            countRows(m_parts.rows.count());
        return;
    }
    if (toMp3) {
        fillTagRows();
        return;
    }
    m_parts.user.showStatus(carryingStatus());
    QStringList paths;
    for (const TagRow &row : m_parts.tagJob.rows().rows())
        paths << row[TagField::Path];
    // Unless the MP3 list changed, the files it could not show come back too.
    if (keepFiles && paths == mp3PathsOfMainList()) {
        paths.clear();
        for (const RenameRow &row : m_parts.rows.rows())
            paths << row[RenameField::Path];
    }
    ProgressMeter progress(m_parts.user, static_cast<int>(paths.size()), ProgressMeter::Direction::Up);
    m_parts.rows.clear();
    JobContext run = context();
    FileRowReader reader(run.files);
    for (int index = 1; index <= paths.size(); ++index) {
        AddFileRow(run, reader, paths.at(index - 1), index);
        progress.at(index);
    }
    countRows(m_parts.rows.count());
    progress.hide();
    m_parts.user.showStatus(QString());
}

void JobSwitch::countRows(int count)
{
    SetFileCnt(m_parts.loader, count);
    m_parts.states.listChanged(count);
}

QStringList JobSwitch::mp3PathsOfMainList() const
{
    QStringList paths;
    for (const RenameRow &row : m_parts.rows.rows()) {
        if (ExtensionOf(row[RenameField::Path]).compare(QStringLiteral("mp3"), Qt::CaseInsensitive) == 0)
            paths.append(row[RenameField::Path]);
    }
    return paths;
}

void JobSwitch::fillTagRows()
{
    m_parts.user.showStatus(carryingStatus());
    const QStringList paths = mp3PathsOfMainList();
    ProgressMeter progress(m_parts.user, static_cast<int>(paths.size()), ProgressMeter::Direction::Up);
    m_parts.tagJob.rows().clear();
    m_parts.tagJob.AddTagRows(paths, 0, [&progress](int read) { progress.at(read); });
    countRows(m_parts.tagJob.rows().count());
    progress.hide();
    m_parts.user.showStatus(QString());
}

void JobSwitch::seedInputs(int row, bool keepInputs)
{
    CommandStates &states = m_parts.states;
    const bool mp3 = Jobs::editsTags(m_job);
    if (activeRowCount() == 0) {
        m_parts.inputs.baseName.clear();
        states.listChanged(0);
    } else {
        if (row == 0)
            row = mp3 ? ListCommands::firstSelected(m_parts.tagJob.rows()) : ListCommands::firstSelected(m_parts.rows);
        else
            m_clickedRow = row;
        if (row >= 1 && row <= activeRowCount()) {
            const QString name = mp3 ? m_parts.tagJob.rows().field(row, TagField::FileName)
                                     : m_parts.rows.field(row, RenameField::CurrentName);
            if (!keepInputs) {
                m_parts.inputs.baseName = name;
                m_parts.inputs.searchText = name;
            }
            states.offerTry();
        }
    }
    refreshInputs(keepInputs);
}

void JobSwitch::refreshInputs(bool keepInputs)
{
    JobInputs &inputs = m_parts.inputs;
    const RenameRowList &rows = m_parts.rows;
    if (activeRowCount() == 0) {
        m_preview.clear();
        const QDateTime now = QDateTime::currentDateTime();
        inputs.baseDate = now.date();
        inputs.baseTime = QTime(now.time().hour(), now.time().minute(), now.time().second());
        return;
    }
    switch (m_job) {
    case JobKind::Numbering:
        m_preview = NumberingPreview(inputs, rows, m_clickedRow);
        break;
    case JobKind::FileNameReplace:
        followSearchText(keepInputs);
        break;
    case JobKind::CreatedDate:
    case JobKind::ModifiedDate: {
        // The row that has the focus: the one last clicked, else the first selected.
        const int row = m_clickedRow >= 1 && m_clickedRow <= rows.count() ? m_clickedRow
                                                                           : ListCommands::firstSelected(rows);
        if (row == 0)
            break;
        const auto field = m_job == JobKind::CreatedDate ? RenameField::Created : RenameField::Modified;
        const QDateTime stamp = ParseDateText(rows.field(row, field));
        if (stamp.isValid()) {
            inputs.baseDate = stamp.date();
            inputs.baseTime = stamp.time();
        }
        break;
    }
    default:
        break;
    }
}

void JobSwitch::followSearchText(bool keepInputs)
{
    if (activeRowCount() > 0 && !keepInputs)
        m_parts.states.offerTry(!m_parts.inputs.searchText.isEmpty());
}
