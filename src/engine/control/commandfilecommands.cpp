#include "engine/control/commandfilecommands.h"

#include "engine/control/guardeduserchannel.h"
#include "engine/control/inputcommands.h"
#include "engine/control/jobswitch.h"
#include "engine/control/listediting.h"
#include "engine/control/loadcommands.h"
#include "engine/jobs/jobinputs.h"
#include "engine/load/filelist.h"
#include "engine/rows/tagrow.h"
#include "persist/commandfile.h"
#include "persist/settings.h"
#include "platform/crlf.h"
#include "platform/filesystem.h"
#include "platform/fsstatus.h"
#include "platform/pathtext.h"
#include "platform/showmessage.h"
#include "platform/systempaths.h"

#include <cerrno>

bool CommandFileCommands::refused() const
{
    return m_parts.user.refuses();
}

JobKind CommandFileCommands::job() const
{
    return m_parts.jobSwitch.job();
}

void CommandFileCommands::applySettings(const Settings &settings)
{
    if (refused())
        return;
    m_parts.mapping.load(settings);
    m_parts.selectJob(Jobs::fromPosition(settings.jobPosition));
}

void CommandFileCommands::storeSettings(Settings *settings)
{
    m_parts.mapping.store(settings);
    settings->jobPosition = Jobs::position(job());
}

CommandSetup CommandFileCommands::currentSetup()
{
    CommandSetup setup;
    setup.jobLabel = Jobs::label(job());
    setup.folderPath = m_parts.currentFolder;
    m_parts.mapping.fill(&setup, m_parts.debug);
    return setup;
}

void CommandFileCommands::applySetup(const CommandSetup &setup)
{
    JobKind chosen = job();
    if (Jobs::fromLabel(setup.jobLabel, &chosen) && chosen != job())
        m_parts.selectJob(chosen);
    m_parts.currentFolder = setup.folderPath;
    m_parts.mapping.apply(setup);
    // The set-up brings its own search.
    m_parts.startedFromCommandLine = false;
}

bool CommandFileCommands::CommandFileLoad(const QString &path)
{
    if (refused())
        return true;
    const GuardedUserChannel::Run busy(m_parts.user);
    QString error;
    const CommandFile file = ::CommandFileLoad(path, &error);
    if (!error.isEmpty()) {
        ShowPlainMessage(m_parts.user, error);
        return true;
    }
    // "Com" switches the job even to the job already chosen, so a plan made
    // before the file was read cannot be executed with the file's inputs.
    JobKind chosen = job();
    if (file.jobLabel && Jobs::fromLabel(*file.jobLabel, &chosen))
        m_parts.selectJob(chosen);
    CommandSetup setup = currentSetup();
    file.applyTo(&setup);
    applySetup(setup);
    m_parts.commandFilePath = path;
    const bool failed = loadFolderOfFile();
    m_parts.inputCommands.RefreshJobInputs();
    m_parts.changed();
    return failed;
}

bool CommandFileCommands::loadFolderOfFile()
{
    if (m_parts.currentFolder.isEmpty())
        return false;
    const QString folder = AbsolutePath(m_parts.currentFolder, SystemPaths::programFolder());
    if (m_parts.files.leadsToFolder(folder))
        return m_parts.loading.load(folder);
    ShowPlainMessage(m_parts.user, FsStatus::fromErrno(ENOENT).text() + CrLf + folder);
    return true;
}

bool CommandFileCommands::CommandFileSave(const QString &path)
{
    if (refused())
        return true;
    const QString error = ::CommandFileSave(path, currentSetup());
    if (!error.isEmpty())
        ShowPlainMessage(m_parts.user, error);
    else if (!path.isEmpty())
        m_parts.commandFilePath = path;
    m_parts.changed();
    return !error.isEmpty();
}

void CommandFileCommands::NewCommandFile()
{
    if (refused())
        return;
    CommandSetup setup = currentSetup();
    ResetCommandSetup(&setup, TagRow::headers());
    m_parts.commandFilePath.clear();
    applySetup(setup);
    m_parts.currentFolder.clear();
    m_parts.mapping.inputs.ChkManual = false;
    m_parts.listEditing.ClearLists();
}
