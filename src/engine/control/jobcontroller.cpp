#include "engine/control/jobcontroller.h"

#include "engine/control/commandfilecommands.h"
#include "engine/control/desktopservices.h"
#include "engine/control/inputcommands.h"
#include "engine/control/journalcommands.h"
#include "engine/control/listediting.h"
#include "engine/control/loadcommands.h"
#include "engine/control/outcomenotice.h"
#include "engine/jobs/job.h"
#include "engine/jobs/namepreview.h"
#include "engine/jobs/plancompletion.h"
#include "engine/load/fileload.h"
#include "engine/load/filerowreader.h"
#include "engine/run/restore.h"
#include "persist/commandsetup.h"
#include "platform/pathtext.h"
#include "platform/showmessage.h"
#include "platform/systempaths.h"

#include <algorithm>

JobController::JobController(UserChannel &user, FileSystem &files, DesktopServices *desktop)
    : m_user(user)
    , m_files(files)
    , m_desktop(desktop)
    // The engines talk through the guarded channel too, so that their event
    // pumps count as a run's.
    , m_text(m_user, files)
    , m_tagJob(m_user, files, m_text)
    , m_tagRows(m_tagJob)
    , m_switch({m_rows, m_tagJob, m_loader, m_states, m_inputs, m_user})
    , m_job(MakeJob(m_switch.job(), m_tagJob))
{
    m_text.setTagReader(&m_tagJob);
    m_text.setExifReader(&m_exif);
    m_loader.tagRows = &m_tagRows;
    m_loader.countChanged = [this] { Q_EMIT countTextChanged(m_loader.countText); };
    m_user.busyChanged = [this](bool busy) { Q_EMIT busyChanged(busy); };
    makeParts();
}

void JobController::makeParts()
{
    const auto changed = [this] { Q_EMIT this->changed(); };
    const auto listChanged = [this] { ListChanged(); };
    m_inputCommands = std::make_unique<InputCommands>(InputCommands::Parts{
        m_user, m_inputs, m_tagJob, m_states, m_switch, m_options, m_searchHistory, m_replaceHistory,
        m_startedFromCommandLine, changed, [this] { Q_EMIT inputsEdited(); }});
    m_loading = std::make_unique<LoadCommands>(LoadCommands::Parts{
        m_user, m_files, m_loader, m_switch, m_tagJob, m_inputs, m_options, *m_inputCommands, m_currentFolder,
        [this] { return context(); }, [this] { return allTagColumns(); }, listChanged});
    m_listEditing = std::make_unique<ListEditing>(ListEditing::Parts{
        m_user, m_rows, m_tagJob, m_switch, m_states, m_inputs, m_text, *m_inputCommands, m_currentFolder,
        m_commandFilePath, listChanged, [this] {
            JobContext run = context();
            ReadPendingFacts(run);
        }});
    m_journal = std::make_unique<JournalCommands>(JournalCommands::Parts{
        m_user, m_files, m_tagJob, m_states, changed, [this](const QString &text) { Q_EMIT outcomeReported(text); }});
    m_commandFiles = std::make_unique<CommandFileCommands>(CommandFileCommands::Parts{
        m_user, m_files,
        SetupMapping{m_inputs, m_options, m_tagJob, m_showId3, m_searchHistory, m_replaceHistory, m_mp3ColumnWidths},
        m_switch, *m_inputCommands, *m_loading, *m_listEditing, m_startedFromCommandLine, m_debug, m_currentFolder,
        m_commandFilePath, [this](JobKind job) { selectJob(job); }, changed});
}

JobController::~JobController() = default;

JobContext JobController::context()
{
    return contextFor(m_inputs, m_options);
}

JobContext JobController::contextFor(const JobInputs &inputs, const RunOptions &options)
{
    JobContext context{m_rows, job(), inputs, options, m_user, m_files, m_text, m_unattended};
    context.desktop = m_desktop;
    context.journalPath = m_journal->path();
    context.exif = &m_exif;
    return context;
}

int JobController::activeRowCount() const
{
    return m_switch.activeRowCount();
}

bool JobController::quiet() const
{
    // One-step mode asks nothing either; an unattended run follows -no_confirm alone.
    return m_options.noConfirm || (m_options.noTry && !m_unattended);
}

PlanOutcome JobController::TryCommand()
{
    if (refused())
        return {TryResult::Invalid};
    const GuardedUserChannel::Run busy(m_user);
    // The plan follows the inputs as they were when Try was pressed.
    JobInputs inputs = m_inputs;
    // With typed names they are checked as they stand, not computed.
    if (inputs.ChkManual && m_switch.setup().directDataBox)
        inputs.searchText.clear();
    JobContext run = contextFor(inputs, m_options);
    PlanOutcome outcome = m_job->plan(run);
    OutcomeNotice::showPlan(m_user, outcome, quiet() || m_unattended);
    const bool stopped = m_user.stopRequested();
    if (stopped) {
        dropPlan();
        outcome.result = TryResult::Invalid;
        outcome.changing = outcome.refused = 0;
    }
    if (outcome.result == TryResult::Planned && !m_unattended) {
        m_searchHistory.promote(inputs.searchText);
        m_replaceHistory.promote(inputs.replaceText);
    }
    m_states.planned(outcome);
    if (stopped)
        m_states.planDropped();
    Q_EMIT outcomeReported(OutcomeNotice::planStatus(outcome, stopped));
    Q_EMIT changed();
    // One-step mode executes a plan at once; an empty list has nothing to run.
    if (outcome.result == TryResult::Planned && m_options.noTry && !m_unattended && activeRowCount() > 0)
        ExecuteCommand();
    return outcome;
}

void JobController::dropPlan()
{
    ClearPlan(m_rows);
}

RunOutcome JobController::ExecuteCommand()
{
    if (refused())
        return {};
    const GuardedUserChannel::Run busy(m_user);
    const JobInputs inputs = m_inputs;
    JobContext run = contextFor(inputs, m_options);
    const RunOutcome outcome = m_job->execute(run, quiet());
    OutcomeNotice::showRun(m_user, m_desktop, outcome, quiet() || m_unattended);
    if (!m_unattended) {
        m_searchHistory.recordExecute(inputs.searchText);
        m_replaceHistory.recordExecute(inputs.replaceText);
    }
    m_states.ran(outcome);
    Q_EMIT outcomeReported(OutcomeNotice::runStatus(outcome));
    Q_EMIT changed();
    return outcome;
}

void JobController::RestoreCommand()
{
    if (refused())
        return;
    const GuardedUserChannel::Run busy(m_user);
    JobContext run = context();
    m_job->restoreList(run);
    m_states.restored();
    m_startedFromCommandLine = false;
    Q_EMIT outcomeReported(OutcomeNotice::restoredStatus(activeRowCount()));
    Q_EMIT changed();
}

void JobController::RestoreFileNames()
{
    if (refused())
        return;
    const GuardedUserChannel::Run busy(m_user);
    const auto &all = m_rows.rows();
    const bool executedHere = std::any_of(all.begin(), all.end(), [](const RenameRow &row) {
        return !row[RenameField::OriginalName].isEmpty();
    });
    JobContext run = context();
    const RunOutcome outcome = executedHere ? RestoreNames(run) : m_journal->undoInto(m_rows);
    OutcomeNotice::showUndone(m_user, outcome, QStringLiteral("元のファイル名に戻す"));
    m_states.undone(outcome);
    Q_EMIT outcomeReported(OutcomeNotice::runStatus(outcome));
    Q_EMIT changed();
}

void JobController::setJournalPath(const QString &path)
{
    m_journal->setPath(path);
}

void JobController::setUnattended(bool on)
{
    m_unattended = on;
    Q_EMIT changed();
}

void JobController::SetNoTryMode(bool on)
{
    if (refused())
        return;
    m_options.noTry = on;
    Q_EMIT changed();
}

QString JobController::tryCaption() const
{
    return m_options.noTry ? QStringLiteral("実行") : QStringLiteral("試行");
}

void JobController::SelectJob(JobKind job)
{
    if (refused())
        return;
    const GuardedUserChannel::Run busy(m_user);
    selectJob(job);
}

bool JobController::allTagColumns() const
{
    return m_showId3 || m_debug;
}

void JobController::selectJob(JobKind job)
{
    m_switch.select(job, allTagColumns(), m_startedFromCommandLine, [this] { return context(); });
    m_job = MakeJob(job, m_tagJob);
    Q_EMIT changed();
}

void JobController::ListChanged()
{
    if (refused())
        return;
    m_switch.forgetClick();
    SetFileCnt(m_loader, activeRowCount());
    m_states.listChanged(activeRowCount());
    Q_EMIT changed();
}

QStringList JobController::PreviewNames(int first, int last)
{
    if (busy() || refused())
        return {};
    if (!m_preview)
        m_preview = std::make_unique<NamePreview>(m_files, &m_tagJob, &m_exif);
    JobInputs inputs = m_inputs;
    if (inputs.ChkManual && m_switch.setup().directDataBox)
        inputs.searchText.clear();
    JobContext run = contextFor(inputs, m_options);
    QStringList names = m_job->preview(run, *m_preview, first, last);
    if (!names.isEmpty())
        m_states.previewShown();
    return names;
}

QString JobController::caption() const
{
    QString text = ApplicationTitle() + u' ' + QStringLiteral(CORVANE_CAPTION_VERSION);
    if (!m_commandFilePath.isEmpty())
        text += QStringLiteral(" < ") + FileNameOf(m_commandFilePath) + QStringLiteral(" > ");
    if (!m_currentFolder.isEmpty())
        text += QStringLiteral(" - ") + m_currentFolder;
    if (!m_optionText.isEmpty())
        text += QStringLiteral("   ") + m_optionText;
    return text;
}

void JobController::SetOption(bool RunOptions::*option, bool on)
{
    if (refused())
        return;
    m_options.*option = on;
}

// The commands below are kept by the controller's parts.

bool JobController::LoadFolder(const QString &folder) { return m_loading->LoadFolder(folder); }
bool JobController::LoadStartFolder(const QString &folder) { return m_loading->LoadStartFolder(folder); }
void JobController::ReadFiles(const QStringList &paths) { m_loading->ReadFiles(paths); }
void JobController::OpenFolder(const QString &folder) { m_loading->OpenFolder(folder); }
void JobController::CancelLoad() { m_loading->CancelLoad(); }
void JobController::DropPaths(const QStringList &paths, int row) { m_loading->DropPaths(paths, row); }
void JobController::StartRowMove() { m_loading->StartRowMove(); }
void JobController::DropRows(int row) { m_loading->DropRows(row); }
void JobController::SetCurrentFolder(const QString &folder) { m_loading->SetCurrentFolder(folder); }

void JobController::ClearLists() { m_listEditing->ClearLists(); }
void JobController::DeleteAllRows() { m_listEditing->DeleteAllRows(); }
void JobController::SelectAllRows() { m_listEditing->SelectAllRows(); }
void JobController::MoveSelectedRows(int step) { m_listEditing->MoveSelectedRows(step); }
void JobController::DeleteSelectedRows() { m_listEditing->DeleteSelectedRows(); }
void JobController::SortActiveList(int column, bool descending) { m_listEditing->SortActiveList(column, descending); }
void JobController::SetRowSelected(int row, bool on) { m_listEditing->SetRowSelected(row, on); }
void JobController::SetTagRowSelected(int row, bool on) { m_listEditing->SetTagRowSelected(row, on); }
QString JobController::ActiveListText(const QStringList &mainHeaders)
{
    return m_listEditing->ActiveListText(mainHeaders);
}
void JobController::ReadRowFacts(int row)
{
    if (row >= 1 && row <= m_rows.count() && m_rows.row(row).factsPending())
        FileRowReader(m_files).readFacts(&m_rows.editRow(row));
}

QStringList JobController::ActiveColumn(int column) const { return m_listEditing->ActiveColumn(column); }
void JobController::ApplyDirectData(int column, const QStringList &values)
{
    m_listEditing->ApplyDirectData(column, values);
}

void JobController::SeedInputsFromRow(int row) { m_inputCommands->SeedInputsFromRow(row); }
void JobController::RefreshJobInputs() { m_inputCommands->RefreshJobInputs(); }
void JobController::SearchTextChanged() { m_inputCommands->SearchTextChanged(); }
void JobController::SetNumberingInput(QString JobInputs::*field, const QString &text)
{
    m_inputCommands->SetNumberingInput(field, text);
}
void JobController::SetAddTop(bool on) { m_inputCommands->SetAddTop(on); }
void JobController::SetSearchInput(QString JobInputs::*field, const QString &text)
{
    m_inputCommands->SetSearchInput(field, text);
}
void JobController::SetTagV1(bool on) { m_inputCommands->SetTagV1(on); }
void JobController::SetTagV2(bool on) { m_inputCommands->SetTagV2(on); }
void JobController::SetTagTemplate(int column, const QString &text) { m_inputCommands->SetTagTemplate(column, text); }
void JobController::ResetTagTemplates() { m_inputCommands->ResetTagTemplates(); }
QStringList JobController::DropDownFor(QString JobInputs::*field) { return m_inputCommands->DropDownFor(field); }
void JobController::RemoveFromDropDown(QString JobInputs::*field, const QString &text)
{
    m_inputCommands->RemoveFromDropDown(field, text);
}
void JobController::ChooseReplaceTarget(const QString &tag) { m_inputCommands->ChooseReplaceTarget(tag); }
void JobController::OfferTry() { m_inputCommands->OfferTry(); }

void JobController::RecoverInterruptedRun() { m_journal->RecoverInterruptedRun(); }
bool JobController::journalUndoable() const { return m_journal->journalUndoable(); }
void JobController::RefreshUndoState() { m_journal->RefreshUndoState(); }

void JobController::applySettings(const Settings &settings) { m_commandFiles->applySettings(settings); }
void JobController::storeSettings(Settings *settings) { m_commandFiles->storeSettings(settings); }
bool JobController::CommandFileLoad(const QString &path) { return m_commandFiles->CommandFileLoad(path); }
bool JobController::CommandFileSave(const QString &path) { return m_commandFiles->CommandFileSave(path); }
void JobController::NewCommandFile() { m_commandFiles->NewCommandFile(); }
CommandSetup JobController::currentSetup() { return m_commandFiles->currentSetup(); }
