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
#include "engine/planjob.h"
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

// Marks a long run from its start to its end; runs started inside it add to it.
class BusyScope
{
public:
    explicit BusyScope(JobController &controller) : m_controller(controller)
    {
        if (m_controller.m_runDepth++ == 0) {
            m_controller.m_user.setRunning(true);
            Q_EMIT m_controller.busyChanged(true);
        }
    }
    ~BusyScope()
    {
        if (--m_controller.m_runDepth == 0) {
            m_controller.m_user.setRunning(false);
            Q_EMIT m_controller.busyChanged(false);
        }
    }

private:
    JobController &m_controller;
};

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
{
    m_text.setTagReader(&m_tagJob);
    m_loader.tagRows = &m_tagRows;
    m_loader.countChanged = [this] { Q_EMIT countTextChanged(m_loader.countText); };
}

JobController::~JobController() = default;

JobContext JobController::context()
{
    return contextFor(m_inputs, m_options);
}

JobContext JobController::contextFor(const JobInputs &inputs, const RunOptions &options)
{
    JobContext context{m_rows, job(), inputs, options, m_user, m_files, m_text, m_states, unattended};
    context.desktop = m_desktop;
    context.journalPath = journalPath;
    return context;
}

int JobController::activeRowCount() const
{
    return m_switch.activeRowCount();
}

bool JobController::quiet() const
{
    return m_options.noConfirm || m_options.noTry;
}

TryResult JobController::TryCommand()
{
    if (refused())
        return TryResult::Invalid;
    const BusyScope busy(*this);
    m_states.tryEnabled = false;
    m_wrongInput = NumberingInput::None;
    // The plan follows the inputs as they were when Try was pressed.
    JobInputs inputs = m_inputs;
    const RunOptions options = m_options;
    TryResult result;
    if (job() == JobKind::Mp3TagEdit) {
        result = m_tagJob.TryTags(inputs.searchText, inputs.ChkManual, m_states, quiet()) < 0 ? TryResult::Invalid
                                                                              : TryResult::Planned;
    } else {
        // With typed names they are checked as they stand, not computed.
        if (inputs.ChkManual && m_switch.setup().directDataBox)
            inputs.searchText.clear();
        JobContext run = contextFor(inputs, options);
        result = PlanJob(run, quiet());
        m_wrongInput = run.wrongInput;
    }
    if (m_user.stopRequested()) {
        // A plan cut short is no plan: every row keeps its current name.
        for (int i = 1; i <= m_rows.count(); ++i) {
            RenameRow &row = m_rows.editRow(i);
            row[RenameField::NewName] = row[RenameField::CurrentName];
            row.rejection = RowRejection::None;
        }
        if (m_rows.count() > 0)
            m_rows.changed(1, m_rows.count());
        m_states.executeEnabled = false;
        result = TryResult::Invalid;
    }
    if (result == TryResult::Planned) {
        m_searchHistory.promote(inputs.searchText);
        m_replaceHistory.promote(inputs.replaceText);
    }
    m_states.tryEnabled = true;
    Q_EMIT changed();
    // One-step mode executes a plan at once; an empty list has nothing to run.
    if (result == TryResult::Planned && m_options.noTry && activeRowCount() > 0)
        ExecuteCommand();
    return result;
}

bool JobController::ExecuteCommand()
{
    if (refused())
        return true;
    const BusyScope busy(*this);
    m_states.executeEnabled = false;
    const JobInputs inputs = m_inputs;
    const RunOptions options = m_options;
    bool failed;
    if (job() == JobKind::Mp3TagEdit) {
        m_tagJob.journalPath = tagJournalPath();
        failed = m_tagJob.ExecuteTags(m_states, m_desktop, quiet()) < 0;
    } else {
        JobContext run = contextFor(inputs, options);
        failed = ExecuteRename(run, quiet());
    }
    m_searchHistory.recordExecute(inputs.searchText);
    m_replaceHistory.recordExecute(inputs.replaceText);
    m_states.executeEnabled = false;
    Q_EMIT changed();
    return failed;
}

void JobController::RestoreCommand()
{
    if (refused())
        return;
    const BusyScope busy(*this);
    m_states.restoreEnabled = false;
    if (job() == JobKind::Mp3TagEdit) {
        m_tagJob.ReloadTags();
        m_tagJob.rows().clearSelection();
    } else {
        JobContext run = context();
        RestoreList(run);
        m_rows.clearSelection();
    }
    m_states.tryEnabled = true;
    m_states.restoreEnabled = false;
    m_states.executeEnabled = false;
    startedFromCommandLine = false;
    Q_EMIT changed();
}

void JobController::RestoreFileNames()
{
    if (refused())
        return;
    const BusyScope busy(*this);
    const auto &all = m_rows.rows();
    const bool executedHere = std::any_of(all.begin(), all.end(), [](const RenameRow &row) {
        return !row[RenameField::OriginalName].isEmpty();
    });
    if (executedHere) {
        JobContext run = context();
        RestoreNames(run);
    } else {
        m_states.restoreFileNameEnabled = JournalDialogue(m_files, m_user, journalPath).undoInto(m_rows);
    }
    Q_EMIT changed();
}

// After a restart the rows are gone, but the journal still knows the last
// run. Returns whether items are left to put back.

bool JobController::journalUndoable() const
{
    return !journalPath.isEmpty() && JournalRecovery::undoable(journalPath);
}

QString JobController::tagJournalPath() const
{
    return journalPath.isEmpty() ? QString() : JoinPath(FolderOf(journalPath), QStringLiteral("TagJournal.dat"));
}

void JobController::RecoverInterruptedRun()
{
    if (const QStringList mended = TagJournal::recover(tagJournalPath()); !mended.isEmpty())
        m_user.showErrorList(QStringLiteral("中断されたＭＰ３タグの書き換え"), mended.join(QStringLiteral("\r\n")));
    if (journalPath.isEmpty() || !JournalRecovery::interrupted(journalPath))
        return;
    const BusyScope busy(*this);
    JournalDialogue(m_files, m_user, journalPath).offerRecovery();
    RefreshUndoState();
}

void JobController::RefreshUndoState()
{
    m_states.restoreFileNameEnabled = journalUndoable();
    Q_EMIT changed();
}

int JobController::PlanUnattended()
{
    if (refused())
        return -1;
    const BusyScope busy(*this);
    // The tag job has no unattended flag of its own: an unattended run is quiet.
    if (job() == JobKind::Mp3TagEdit)
        return m_tagJob.TryTags(m_inputs.searchText, m_inputs.ChkManual, m_states, true);
    JobContext run = context();
    return toInt(PlanJob(run, m_options.noConfirm));
}

int JobController::ExecuteUnattended()
{
    if (refused())
        return -1;
    const BusyScope busy(*this);
    if (job() == JobKind::Mp3TagEdit) {
        m_tagJob.journalPath = tagJournalPath();
        return m_tagJob.ExecuteTags(m_states, nullptr, true);
    }
    JobContext run = context();
    return ExecuteRename(run, m_options.noConfirm) ? -1 : 0;
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
    const BusyScope busy(*this);
    selectJob(job);
}

void JobController::selectJob(JobKind job)
{
    m_switch.select(job, showId3 || debug, startedFromCommandLine, [this] { return context(); });
    Q_EMIT changed();
}

void JobController::ReadFiles(const QStringList &paths)
{
    if (refused())
        return;
    const BusyScope busy(*this);
    JobContext run = context();
    ReadChosenFiles(run, m_loader, paths);
    // In the MP3 job the chosen .mp3 files become tag rows; the main list
    // only carried them there.
    if (job() == JobKind::Mp3TagEdit)
        m_switch.restartMp3Job(showId3 || debug);
    ListChanged();
}

void JobController::SeedInputsFromRow(int row)
{
    if (refused())
        return;
    m_switch.seedInputs(row, startedFromCommandLine);
    Q_EMIT changed();
}

void JobController::RefreshJobInputs()
{
    if (refused())
        return;
    m_switch.refreshInputs(startedFromCommandLine);
    Q_EMIT changed();
}

void JobController::SearchTextChanged()
{
    if (refused())
        return;
    m_switch.followSearchText(startedFromCommandLine);
    Q_EMIT changed();
}

bool JobController::LoadFolder(const QString &folder)
{
    if (refused())
        return true;
    const BusyScope busy(*this);
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
    if (job() != JobKind::Mp3TagEdit)
        return LoadFolder(folder);
    if (refused())
        return true;
    const BusyScope busy(*this);
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
    SetFileCnt(m_loader, m_states, activeRowCount());
    if (activeRowCount() == 0) {
        m_states.tryEnabled = false;
        m_states.restoreEnabled = false;
        m_states.executeEnabled = false;
    }
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
    QStringList names = m_preview->names(m_rows, job(), inputs, m_options, first, last);
    if (!names.isEmpty())
        m_states.executeEnabled = false;
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
    return {m_inputs, m_options, m_tagJob, showId3, m_searchHistory, m_replaceHistory, m_mp3ColumnWidths};
}

void JobController::applySettings(const Settings &settings)
{
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
    mapping().fill(&setup, debug);
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
    startedFromCommandLine = false;
}

int JobController::CommandFileLoad(const QString &path)
{
    if (refused())
        return -1;
    const BusyScope busy(*this);
    QString error;
    const CommandFile file = ::CommandFileLoad(path, &error);
    if (!error.isEmpty()) {
        ShowPlainMessage(m_user, error);
        return -1;
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
    int result = 0;
    if (!m_currentFolder.isEmpty()) {
        const QString folder = AbsolutePath(m_currentFolder, SystemPaths::programFolder());
        if (!m_files.leadsToFolder(folder)) {
            ShowPlainMessage(m_user, FsStatus::fromErrno(ENOENT).text() + QStringLiteral("\r\n") + folder);
            result = -1;
        } else if (loadFolder(folder)) {
            result = -1;
        }
    }
    RefreshJobInputs();
    Q_EMIT changed();
    return result;
}

QString JobController::CommandFileSave(const QString &path)
{
    if (refused())
        return QStringLiteral("実行中です");
    const QString error = ::CommandFileSave(path, currentSetup());
    if (error.isEmpty() && !path.isEmpty())
        m_commandFilePath = path;
    Q_EMIT changed();
    return error;
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
    const BusyScope busy(*this);
    JobContext run = context();
    if (job() == JobKind::Mp3TagEdit) {
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
        startedFromCommandLine = false;
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
        m_states.tryEnabled = true;
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
    return historyFor(field).rebuildDropDown(m_options.regOrder);
}

void JobController::RemoveFromDropDown(QString JobInputs::*field, const QString &text)
{
    if (!refused())
        historyFor(field).removeFromDropDown(text);
}

void JobController::SetRowSelected(int row, bool on)
{
    m_rows.editRow(row).selected = on;
}

void JobController::SetTagRowSelected(int row, bool on)
{
    m_tagJob.rows().editRow(row).selected = on;
}

void JobController::ChooseReplaceTarget(const QString &tag)
{
    if (refused())
        return;
    if (!tag.isEmpty() && activeRowCount() > 0)
        m_states.tryEnabled = true;
}

void JobController::OfferTry()
{
    if (refused())
        return;
    m_states.tryEnabled = true;
}

void JobController::OpenFolder(const QString &folder)
{
    if (refused())
        return;
    m_loader.loadCancelled = false;
    if (job() != JobKind::Mp3TagEdit)
        m_inputs.baseName.clear();
    LoadFolder(folder);
    if (activeRowCount() > 0)
        RefreshJobInputs();
}

void JobController::CancelLoad()
{
    m_loader.loadCancelled = true;
}

QString JobController::ActiveListText(const QStringList &mainHeaders) const
{
    if (job() != JobKind::Mp3TagEdit)
        return ListCommands::copyText(m_rows, mainHeaders, 6);
    return ListCommands::copyText(m_tagJob.rows(), TagRow::headers(), 10);
}

QStringList JobController::ActiveColumn(int column) const
{
    const bool mp3 = job() == JobKind::Mp3TagEdit;
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
    if (job() == JobKind::Mp3TagEdit) {
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
    m_states.tryEnabled = true;
}

void JobController::SetOption(bool RunOptions::*option, bool on)
{
    if (refused())
        return;
    m_options.*option = on;
}
