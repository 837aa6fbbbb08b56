#include "engine/jobcontroller.h"

#include "engine/desktopservices.h"
#include "engine/executerename.h"
#include "engine/fileload.h"
#include "engine/journaldialogue.h"
#include "engine/journalrecovery.h"
#include "engine/listcommands.h"
#include "engine/listdrop.h"
#include "engine/namepreview.h"
#include "engine/sortstate.h"
#include "engine/filelist.h"
#include "engine/numberingplanner.h"
#include "engine/outcomenotice.h"
#include "engine/restore.h"
#include "engine/setupmapping.h"
#include "persist/commandfile.h"
#include "persist/settings.h"
#include "platform/displaytext.h"
#include "platform/filesystem.h"
#include "platform/fsstatus.h"
#include "platform/pathtext.h"
#include "platform/progressmeter.h"
#include "platform/showmessage.h"
#include "platform/systempaths.h"
#include "platform/userchannel.h"


#include <algorithm>
#include <cerrno>

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
    m_loader.tagRows = &m_tagRows;
    m_loader.countChanged = [this] { Q_EMIT countTextChanged(m_loader.countText); };
    m_user.busyChanged = [this](bool busy) { Q_EMIT busyChanged(busy); };
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
    context.journalPath = m_journalPath;
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

bool JobController::onTagRows() const
{
    return Jobs::editsTags(job());
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
    for (int i = 1; i <= m_rows.count(); ++i) {
        RenameRow &row = m_rows.editRow(i);
        row[RenameField::NewName] = row[RenameField::CurrentName];
        row.rejection = RowRejection::None;
    }
    if (m_rows.count() > 0)
        m_rows.changed(1, m_rows.count());
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
    const RunOutcome outcome
        = executedHere ? RestoreNames(run) : JournalDialogue(m_files, m_user, m_journalPath).undoInto(m_rows);
    OutcomeNotice::showUndone(m_user, outcome, QStringLiteral("元のファイル名に戻す"));
    m_states.undone(outcome);
    Q_EMIT outcomeReported(OutcomeNotice::runStatus(outcome));
    Q_EMIT changed();
}

bool JobController::journalUndoable() const
{
    return !m_journalPath.isEmpty() && JournalRecovery::undoable(m_journalPath);
}

void JobController::setJournalPath(const QString &path)
{
    m_journalPath = path;
    m_tagJob.journalPath = tagJournalPath();
}

QString JobController::tagJournalPath() const
{
    return m_journalPath.isEmpty() ? QString() : JoinPath(FolderOf(m_journalPath), QStringLiteral("TagJournal.dat"));
}

void JobController::RecoverInterruptedRun()
{
    if (refused())
        return;
    if (const QStringList mended = TagJournal::recover(tagJournalPath()); !mended.isEmpty())
        m_user.showErrorList(QStringLiteral("中断されたＭＰ３タグの書き換え"), mended.join(QStringLiteral("\r\n")));
    if (m_journalPath.isEmpty() || !JournalRecovery::interrupted(m_journalPath))
        return;
    const GuardedUserChannel::Run busy(m_user);
    const RunOutcome outcome = JournalDialogue(m_files, m_user, m_journalPath).offerRecovery();
    OutcomeNotice::showUndone(m_user, outcome, QStringLiteral("中断された処理"));
    Q_EMIT outcomeReported(OutcomeNotice::runStatus(outcome));
    RefreshUndoState();
}

void JobController::RefreshUndoState()
{
    if (refused())
        return;
    m_states.setUndoable(journalUndoable());
    Q_EMIT changed();
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

void JobController::selectJob(JobKind job)
{
    m_switch.select(job, m_showId3 || m_debug, m_startedFromCommandLine, [this] { return context(); });
    m_job = MakeJob(job, m_tagJob);
    Q_EMIT changed();
}

void JobController::ReadFiles(const QStringList &paths)
{
    if (refused())
        return;
    const GuardedUserChannel::Run busy(m_user);
    JobContext run = context();
    ReadChosenFiles(run, m_loader, paths);
    // In the MP3 job the chosen .mp3 files become tag rows; the main list
    // only carried them there.
    if (onTagRows())
        m_switch.restartMp3Job(m_showId3 || m_debug);
    ListChanged();
}

void JobController::SeedInputsFromRow(int row)
{
    if (refused())
        return;
    m_switch.seedInputs(row, m_startedFromCommandLine);
    Q_EMIT changed();
}

void JobController::RefreshJobInputs()
{
    if (refused())
        return;
    m_switch.refreshInputs(m_startedFromCommandLine);
    Q_EMIT changed();
}

void JobController::SearchTextChanged()
{
    if (refused())
        return;
    m_switch.followSearchText(m_startedFromCommandLine);
    Q_EMIT changed();
}

bool JobController::LoadFolder(const QString &folder)
{
    if (refused())
        return true;
    const GuardedUserChannel::Run busy(m_user);
    return loadFolder(folder);
}

bool JobController::loadFolder(const QString &folder)
{
    JobContext run = context();
    const bool failed = LoadFromFolder(run, m_loader, folder, m_options.onlyTopFolder);
    if (m_files.leadsToFolder(folder))
        m_currentFolder = folder;
    ListChanged();
    return failed;
}

bool JobController::LoadStartFolder(const QString &folder)
{
    if (!onTagRows())
        return LoadFolder(folder);
    if (refused())
        return true;
    const GuardedUserChannel::Run busy(m_user);
    JobContext run = context();
    run.job = JobKind::FileNameReplace;
    const bool failed = LoadFromFolder(run, m_loader, folder, m_options.onlyTopFolder);
    m_switch.fillTagRowsKeepingFiles();
    if (m_files.leadsToFolder(folder))
        m_currentFolder = folder;
    ListChanged();
    if (!failed && m_tagJob.rows().isEmpty())
        ShowPlainMessage(m_user, QStringLiteral("ＭＰ３ファイルはありません！"), QStringLiteral("ファイル無し"));
    return failed;
}

void JobController::SetCurrentFolder(const QString &folder)
{
    if (!refused() && m_files.leadsToFolder(folder))
        m_currentFolder = folder;
}

void JobController::ClearLists()
{
    if (refused())
        return;
    m_rows.clear();
    m_tagJob.rows().clear();
    ListChanged();
}

void JobController::DeleteAllRows()
{
    if (refused())
        return;
    onActiveList([](auto &rows) { rows.clear(); });
    m_currentFolder.clear();
    m_commandFilePath.clear();
    SeedInputsFromRow(0);
    ListChanged();
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
        m_preview = std::make_unique<NamePreview>(m_files, &m_tagJob);
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

SetupMapping JobController::mapping()
{
    return {m_inputs, m_options, m_tagJob, m_showId3, m_searchHistory, m_replaceHistory, m_mp3ColumnWidths};
}

void JobController::applySettings(const Settings &settings)
{
    if (refused())
        return;
    mapping().load(settings);
    selectJob(Jobs::fromPosition(settings.jobPosition));
}

void JobController::storeSettings(Settings *settings)
{
    mapping().store(settings);
    settings->jobPosition = Jobs::position(job());
}

CommandSetup JobController::currentSetup()
{
    CommandSetup setup;
    setup.jobLabel = Jobs::label(job());
    setup.folderPath = m_currentFolder;
    mapping().fill(&setup, m_debug);
    return setup;
}

void JobController::applySetup(const CommandSetup &setup)
{
    JobKind chosen = job();
    if (Jobs::fromLabel(setup.jobLabel, &chosen) && chosen != job())
        selectJob(chosen);
    m_currentFolder = setup.folderPath;
    mapping().apply(setup);
    // The set-up brings its own search.
    m_startedFromCommandLine = false;
}

bool JobController::CommandFileLoad(const QString &path)
{
    if (refused())
        return true;
    const GuardedUserChannel::Run busy(m_user);
    QString error;
    const CommandFile file = ::CommandFileLoad(path, &error);
    if (!error.isEmpty()) {
        ShowPlainMessage(m_user, error);
        return true;
    }
    // "Com" switches the job even to the job already chosen, so a plan made
    // before the file was read cannot be executed with the file's inputs.
    JobKind chosen = job();
    if (file.jobLabel && Jobs::fromLabel(*file.jobLabel, &chosen))
        selectJob(chosen);
    CommandSetup setup = currentSetup();
    file.applyTo(&setup);
    applySetup(setup);
    m_commandFilePath = path;
    bool failed = false;
    if (!m_currentFolder.isEmpty()) {
        const QString folder = AbsolutePath(m_currentFolder, SystemPaths::programFolder());
        if (!m_files.leadsToFolder(folder)) {
            ShowPlainMessage(m_user, FsStatus::fromErrno(ENOENT).text() + QStringLiteral("\r\n") + folder);
            failed = true;
        } else {
            failed = loadFolder(folder);
        }
    }
    RefreshJobInputs();
    Q_EMIT changed();
    return failed;
}

bool JobController::CommandFileSave(const QString &path)
{
    if (refused())
        return true;
    const QString error = ::CommandFileSave(path, currentSetup());
    if (!error.isEmpty())
        ShowPlainMessage(m_user, error);
    else if (!path.isEmpty())
        m_commandFilePath = path;
    Q_EMIT changed();
    return !error.isEmpty();
}

void JobController::NewCommandFile()
{
    if (refused())
        return;
    CommandSetup setup = currentSetup();
    ResetCommandSetup(&setup, TagRow::headers());
    m_commandFilePath.clear();
    applySetup(setup);
    m_currentFolder.clear();
    m_inputs.ChkManual = false;
    ClearLists();
}

void JobController::SelectAllRows()
{
    if (!refused())
        onActiveList([](auto &rows) { ListCommands::selectAll(rows); });
}

void JobController::MoveSelectedRows(int step)
{
    if (!refused())
        onActiveList([step](auto &rows) { ListCommands::moveSelected(rows, step); });
}

void JobController::DeleteSelectedRows()
{
    if (refused())
        return;
    onActiveList([](auto &rows) { ListCommands::deleteSelected(rows); });
    SeedInputsFromRow(0);
    ListChanged();
}

void JobController::SortActiveList(int column, bool descending)
{
    if (refused())
        return;
    onActiveList([this, column, descending](auto &rows) {
        using Row = std::decay_t<decltype(rows.row(1))>;
        const int key = static_cast<int>(Row::Field::SortKey);
        for (int i = 1; i <= rows.count(); ++i)
            rows.editRow(i).fields[key] = SortState::sortKey(m_text, rows.row(i).fields[column], column == 0);
        ListCommands::sortByKey(rows, key, descending);
    });
}

void JobController::DropPaths(const QStringList &paths, int row)
{
    if (refused())
        return;
    const GuardedUserChannel::Run busy(m_user);
    JobContext run = context();
    if (onTagRows()) {
        ListV_MP3_OLEDragDrop(run, m_loader, paths, row);
    } else {
        ListV_OLEDragDrop(run, m_loader, DropData{false, paths}, row);
        if (job() != JobKind::FileNameReplace)
            RefreshJobInputs();
    }
    ListChanged();
}

void JobController::StartRowMove()
{
    if (refused())
        return;
    JobContext run = context();
    ::StartRowMove(run, m_loader);
}

void JobController::DropRows(int row)
{
    if (refused())
        return;
    JobContext run = context();
    ListV_OLEDragDrop(run, m_loader, DropData{true, {}}, row);
    ListChanged();
}

void JobController::SetNumberingInput(QString JobInputs::*field, const QString &text)
{
    if (refused())
        return;
    m_inputs.*field = text;
    RefreshJobInputs();
    Q_EMIT inputsEdited();
}

void JobController::SetAddTop(bool on)
{
    if (refused())
        return;
    m_inputs.addTop = on;
    RefreshJobInputs();
    Q_EMIT inputsEdited();
}

void JobController::SetSearchInput(QString JobInputs::*field, const QString &text)
{
    if (refused())
        return;
    if (field == &JobInputs::searchText)
        m_startedFromCommandLine = false;
    m_inputs.*field = text;
    SearchTextChanged();
    Q_EMIT inputsEdited();
}

void JobController::SetTagV1(bool on)
{
    if (refused())
        return;
    m_tagJob.TagV1 = on;
}

void JobController::SetTagV2(bool on)
{
    if (refused())
        return;
    m_tagJob.TagV2 = on;
}

void JobController::SetTagTemplate(int column, const QString &text)
{
    if (refused())
        return;
    m_tagJob.txtField[column] = text;
    if (m_tagJob.rows().count() > 0)
        m_states.offerTry();
}

void JobController::ResetTagTemplates()
{
    if (refused())
        return;
    m_tagJob.resetTemplates();
}

InputHistory &JobController::historyFor(QString JobInputs::*field)
{
    return field == &JobInputs::replaceText ? m_replaceHistory : m_searchHistory;
}

QStringList JobController::DropDownFor(QString JobInputs::*field)
{
    if (refused())
        return historyFor(field).dropDown();
    return historyFor(field).rebuildDropDown(m_options.regOrder);
}

void JobController::RemoveFromDropDown(QString JobInputs::*field, const QString &text)
{
    if (!refused())
        historyFor(field).removeFromDropDown(text);
}

void JobController::SetRowSelected(int row, bool on)
{
    if (!refused())
        m_rows.editRow(row).selected = on;
}

void JobController::SetTagRowSelected(int row, bool on)
{
    if (!refused())
        m_tagJob.rows().editRow(row).selected = on;
}

void JobController::ChooseReplaceTarget(const QString &tag)
{
    if (refused())
        return;
    if (!tag.isEmpty() && activeRowCount() > 0)
        m_states.offerTry();
}

void JobController::OfferTry()
{
    if (!refused())
        m_states.offerTry();
}

void JobController::OpenFolder(const QString &folder)
{
    if (refused())
        return;
    m_loader.loadCancelled = false;
    if (!onTagRows())
        m_inputs.baseName.clear();
    LoadFolder(folder);
    if (activeRowCount() > 0)
        RefreshJobInputs();
}

// The one command that works mid-run: Stop must reach the folder read.
void JobController::CancelLoad()
{
    m_loader.loadCancelled = true;
}

QString JobController::ActiveListText(const QStringList &mainHeaders) const
{
    if (!onTagRows())
        return ListCommands::copyText(m_rows, mainHeaders, 6);
    return ListCommands::copyText(m_tagJob.rows(), TagRow::headers(), 10);
}

QStringList JobController::ActiveColumn(int column) const
{
    const bool mp3 = onTagRows();
    const int count = activeRowCount();
    QStringList values;
    values.reserve(count);
    for (int i = 1; i <= count; ++i)
        values << (mp3 ? m_tagJob.rows().row(i)[column - 1] : m_rows.row(i)[RenameField::NewName]);
    return values;
}

void JobController::ApplyDirectData(int column, const QStringList &values)
{
    if (refused())
        return;
    if (onTagRows()) {
        TagRowList &rows = m_tagJob.rows();
        for (int i = 1; i <= rows.count(); ++i) {
            rows.editRow(i).selected = false;
            rows.editRow(i)[column - 1] = values.value(i - 1);
        }
        rows.changed(1, rows.count());
    } else {
        for (int i = 1; i <= m_rows.count(); ++i) {
            RenameRow &row = m_rows.editRow(i);
            row.selected = false;
            row.rejection = RowRejection::None;
            row[RenameField::NewName] = values.value(i - 1);
            row[RenameField::Path] = JoinPath(row[RenameField::Folder], values.value(i - 1));
        }
        m_rows.changed(1, m_rows.count());
    }
    m_inputs.ChkManual = true;
    m_states.offerTry();
}

void JobController::SetOption(bool RunOptions::*option, bool on)
{
    if (refused())
        return;
    m_options.*option = on;
}
