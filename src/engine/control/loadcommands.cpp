#include "engine/control/loadcommands.h"

#include "engine/control/guardeduserchannel.h"
#include "engine/control/inputcommands.h"
#include "engine/control/jobswitch.h"
#include "engine/jobs/mp3tagjob.h"
#include "engine/jobs/runoptions.h"
#include "engine/load/fileload.h"
#include "engine/load/listdrop.h"
#include "engine/load/loaderstate.h"
#include "platform/filesystem.h"

bool LoadCommands::refused() const
{
    return m_parts.user.refuses();
}

bool LoadCommands::onTagRows() const
{
    return Jobs::editsTags(m_parts.jobSwitch.job());
}

void LoadCommands::noteFolder(const QString &folder)
{
    if (m_parts.files.leadsToFolder(folder))
        m_parts.currentFolder = folder;
}

bool LoadCommands::LoadFolder(const QString &folder)
{
    if (refused())
        return true;
    const GuardedUserChannel::Run busy(m_parts.user);
    return load(folder);
}

bool LoadCommands::load(const QString &folder)
{
    JobContext run = m_parts.context();
    const bool failed = LoadFromFolder(run, m_parts.loader, folder, m_parts.options.onlyTopFolder);
    noteFolder(folder);
    m_parts.listChanged();
    return failed;
}

bool LoadCommands::LoadStartFolder(const QString &folder)
{
    if (!onTagRows())
        return LoadFolder(folder);
    if (refused())
        return true;
    const GuardedUserChannel::Run busy(m_parts.user);
    JobContext run = m_parts.context();
    run.job = JobKind::FileNameReplace;
    const bool failed = LoadFromFolder(run, m_parts.loader, folder, m_parts.options.onlyTopFolder);
    m_parts.jobSwitch.fillTagRowsKeepingFiles();
    noteFolder(folder);
    m_parts.listChanged();
    if (!failed && m_parts.tagJob.rows().isEmpty())
        ShowNoMp3Files(m_parts.user);
    return failed;
}

void LoadCommands::ReadFiles(const QStringList &paths)
{
    if (refused())
        return;
    const GuardedUserChannel::Run busy(m_parts.user);
    JobContext run = m_parts.context();
    ReadChosenFiles(run, m_parts.loader, paths);
    // In the MP3 job the chosen .mp3 files become tag rows; the main list
    // only carried them there.
    if (onTagRows())
        m_parts.jobSwitch.restartMp3Job(m_parts.allTagColumns());
    m_parts.listChanged();
}

void LoadCommands::OpenFolder(const QString &folder)
{
    if (refused())
        return;
    m_parts.loader.loadCancelled = false;
    if (!onTagRows())
        m_parts.inputs.baseName.clear();
    LoadFolder(folder);
    if (m_parts.jobSwitch.activeRowCount() > 0)
        m_parts.inputCommands.RefreshJobInputs();
}

// The one command that works mid-run: Stop must reach the folder read.
void LoadCommands::CancelLoad()
{
    m_parts.loader.loadCancelled = true;
}

void LoadCommands::DropPaths(const QStringList &paths, int row)
{
    if (refused())
        return;
    const GuardedUserChannel::Run busy(m_parts.user);
    JobContext run = m_parts.context();
    if (onTagRows()) {
        ListV_MP3_OLEDragDrop(run, m_parts.loader, paths, row);
    } else {
        ListV_OLEDragDrop(run, m_parts.loader, DropData{false, paths}, row);
        if (m_parts.jobSwitch.job() != JobKind::FileNameReplace)
            m_parts.inputCommands.RefreshJobInputs();
    }
    m_parts.listChanged();
}

void LoadCommands::StartRowMove()
{
    if (refused())
        return;
    JobContext run = m_parts.context();
    ::StartRowMove(run, m_parts.loader);
}

void LoadCommands::DropRows(int row)
{
    if (refused())
        return;
    JobContext run = m_parts.context();
    ListV_OLEDragDrop(run, m_parts.loader, DropData{true, {}}, row);
    m_parts.listChanged();
}

void LoadCommands::SetCurrentFolder(const QString &folder)
{
    if (!refused())
        noteFolder(folder);
}
