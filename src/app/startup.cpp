#include "app/startup.h"

#include "app/commandline.h"
#include "engine/control/jobcontroller.h"
#include "platform/filesystem.h"
#include "platform/pathtext.h"
#include "platform/showmessage.h"
#include "platform/systempaths.h"
#include "platform/userchannel.h"

#include <QDir>

#include <utility>

StartUp::StartUp(JobController &controller, const CommandLine &line)
    : m_controller(controller)
    , m_line(line)
{
}

int StartUp::exitCode(Outcome outcome)
{
    switch (outcome) {
    case Outcome::CommandLineError:
        return 2;
    case Outcome::Failed:
        return 1;
    default:
        return 0;
    }
}

void StartUp::recoverInterruptedRun()
{
    m_controller.RecoverInterruptedRun();
}

StartUp::Outcome StartUp::applySwitches()
{
    if (m_line.isEmpty())
        return Outcome::Continue;
    if (m_line.debug())
        m_controller.setDebug(true);
    m_unattended = m_line.unattended();
    m_quit = m_line.quit();
    if (m_unattended) {
        m_controller.setUnattended(true);
        m_controller.SelectJob(JobKind::FileNameReplace);
    }
    if (m_line.onlyTop())
        m_controller.SetOption(&RunOptions::onlyTopFolder, true);
    if (m_line.noConfirm())
        m_controller.SetOption(&RunOptions::noConfirm, true);
    if (m_line.hasSearch())
        m_controller.SetSearchInput(&JobInputs::searchText, m_line.search());
    if (m_line.hasPattern())
        m_controller.SetSearchInput(&JobInputs::replaceText, m_line.pattern());
    // Set after the search, which would end it.
    m_controller.setStartedFromCommandLine(true);
    if (m_line.unpaired()) {
        ShowPlainMessage(m_controller.user(),
                         QStringLiteral("コマンドパラメータ　－　search / pattern の片方が指定されていません！"));
        return Outcome::CommandLineError;
    }
    m_controller.setOptionText(m_line.optionText());
    const QString given = Unquote(m_line.folder());
    if (!given.isEmpty()) {
        m_folder = QDir::cleanPath(QDir::current().absoluteFilePath(given));
        const bool readable = m_controller.files().canListFolder(m_folder);
        if (readable && !m_line.commandFiles().isEmpty()) {
            // The command file reads the folder, this one or the one it names.
            m_controller.SetCurrentFolder(m_folder);
        } else {
            const bool failed = m_controller.LoadStartFolder(m_folder);
            // An unattended run on a folder that is not there or cannot be read
            // has failed, not found "nothing to change".
            if (m_unattended && (failed || !readable))
                return Outcome::Failed;
        }
    }
    // The search given here stays until the user edits it or restores the
    // list; a command file brings a search of its own.
    m_controller.setStartedFromCommandLine(m_line.hasSearch() && m_line.commandFiles().isEmpty());

    const QStringList queue = m_line.commandFiles();
    if (!queue.isEmpty()) {
        const QString first = resolve(queue.first());
        if (reportMissing(first))
            return Outcome::CommandLineError;
        m_firstLoad = loadCommandFile(first);
        if (*m_firstLoad)
            return m_unattended ? Outcome::Failed : Outcome::Continue;
    }
    return Outcome::Continue;
}

void StartUp::endEarly()
{
    m_controller.setUnattended(false);
}

StartUp::Outcome StartUp::runJobs()
{
    Outcome outcome = Outcome::Continue;
    if (m_unattended) {
        if (m_line.commandFiles().isEmpty()) {
            outcome = runOneJob(false) ? Outcome::Failed : Outcome::Continue;
        } else {
            outcome = runQueue();
        }
        if (outcome == Outcome::Continue && m_quit)
            outcome = Outcome::Quit;
    }
    m_controller.setUnattended(false);
    migrateTemplate();
    // The last run's journal can put its names back even after a restart; a
    // run that quits has no window to offer it in.
    if (outcome == Outcome::Continue)
        m_controller.RefreshUndoState();
    return outcome;
}

StartUp::Outcome StartUp::runQueue()
{
    for (const QString &queued : m_line.commandFiles()) {
        const QString path = resolve(queued);
        if (reportMissing(path))
            return Outcome::CommandLineError;
        const std::optional<bool> earlier = std::exchange(m_firstLoad, std::nullopt);
        const bool loadFailed = earlier ? *earlier : loadCommandFile(path);
        if (runOneJob(loadFailed))
            return Outcome::Failed;
    }
    return Outcome::Continue;
}

// A command file whose FolderPath is empty, as one saved before any folder
// was read, runs on the folder given by -folder. Returns failed.
bool StartUp::loadCommandFile(const QString &path)
{
    if (m_controller.CommandFileLoad(path))
        return true;
    if (m_folder.isEmpty() || !m_controller.currentFolder().isEmpty())
        return false;
    return m_controller.LoadStartFolder(m_folder);
}

// Plans the current job and, when the plan is clean and the command file
// loaded, executes it. Returns failed.
bool StartUp::runOneJob(bool loadFailed)
{
    const bool mp3 = m_controller.job() == JobKind::Mp3TagEdit;
    const int declined = m_controller.user().declinedQuestions();
    const PlanOutcome plan = m_controller.TryCommand();
    // Ctrl+C or SIGTERM during the plan: nothing is executed.
    if (m_controller.user().stopRequested() || loadFailed || plan.failed())
        return true;
    if (plan.result == TryResult::NothingToChange)
        return false;
    if (m_controller.ExecuteCommand().failed())
        return true;
    if (mp3 || m_controller.user().declinedQuestions() == declined)
        return false;
    ShowPlainMessage(m_controller.user(), QStringLiteral("確認が得られなかったため実行していません。\r\n"
                                                         "確認なしで実行するには -no_confirm を付けてください。"));
    return true;
}

QString StartUp::resolve(const QString &path) const
{
    if (QDir::isAbsolutePath(path))
        return path;
    return QDir(SystemPaths::programFolder()).absoluteFilePath(path);
}

bool StartUp::reportMissing(const QString &path)
{
    if (m_controller.files().exists(path))
        return false;
    ShowPlainMessage(m_controller.user(), QStringLiteral("ファイルが見つかりません！\r\n\r\n") + path);
    return true;
}

// An older Corvane kept its template as template.txt beside the program.
void StartUp::migrateTemplate()
{
    FileSystem &files = m_controller.files();
    const QDir program(SystemPaths::programFolder());
    const QString old = program.filePath(QStringLiteral("template.txt"));
    if (!files.exists(old))
        return;
    const QString current = program.filePath(QStringLiteral("parts/テンプレート.txt"));
    if (!files.exists(current)) {
        program.mkpath(QStringLiteral("parts"));
        files.rename(old, current);
    }
    // The old file goes only once its text is safe in the new place.
    if (files.exists(current))
        files.remove(old);
}
