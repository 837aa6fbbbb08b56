#pragma once

#include "engine/control/commandstates.h"
#include "engine/control/guardeduserchannel.h"
#include "engine/control/inputhistory.h"
#include "engine/control/jobswitch.h"
#include "engine/jobs/jobinputs.h"
#include "engine/jobs/mp3tagjob.h"
#include "engine/jobs/planoutcome.h"
#include "engine/jobs/runoptions.h"
#include "engine/load/loaderstate.h"
#include "engine/load/mp3tagrows.h"
#include "engine/rows/renamerowlist.h"
#include "engine/run/runoutcome.h"
#include "tags/exiv2reader.h"
#include "text/textengine.h"

#include <QObject>
#include <QString>

#include <memory>

class CommandFileCommands;
class DesktopServices;
class FileSystem;
class InputCommands;
class Job;
class JournalCommands;
class ListEditing;
class LoadCommands;
class NamePreview;
class UserChannel;
struct CommandSetup;
struct Settings;

// The control layer the main window binds to, and that unattended runs drive
// alone: the rows of both lists, the job and its inputs, the options, the
// command states, and the commands Try, Execute, Restore and the job switch.
// It shows nothing itself; the window follows changed().
class JobController : public QObject
{
    Q_OBJECT

public:
    JobController(UserChannel &user, FileSystem &files, DesktopServices *desktop = nullptr);
    ~JobController() override;

    // The state the window shows; it changes only through the commands below.
    const RenameRowList &rows() const { return m_rows; }
    const Mp3TagJob &tagJob() const { return m_tagJob; }
    const JobInputs &inputs() const { return m_inputs; }
    const RunOptions &options() const { return m_options; }
    const CommandStates &states() const { return m_states; }
    const InputHistory &searchHistory() const { return m_searchHistory; }
    const InputHistory &replaceHistory() const { return m_replaceHistory; }
    // The count label beside the list; countTextChanged follows it.
    QString countText() const { return m_loader.countText; }
    UserChannel &user() { return m_user; }

    // From the start to the end of every long run. While busy, the window
    // offers nothing but Stop, and the commands below refuse to run when
    // they arrive from window events let through by the run.
    bool busy() const { return m_user.busy(); }
    // Where renaming runs keep their crash-safe journal; empty keeps none.
    void setJournalPath(const QString &path);
    FileSystem &files() { return m_files; }

    JobKind job() const { return m_switch.job(); }
    const JobSetup &setup() const { return m_switch.setup(); }
    // The rows the list commands act on: the MP3 list in the MP3 job.
    int activeRowCount() const;

    // Plans the job, shows how the plan ended and, in one-step mode, executes
    // a clean plan at once (never unattended: start-up executes itself).
    PlanOutcome TryCommand();
    // Applies the plan and shows how the run ended.
    RunOutcome ExecuteCommand();
    void RestoreCommand();
    // "元のファイル名に戻す".
    void RestoreFileNames();
    void SetNoTryMode(bool on);
    QString tryCaption() const;
    bool executeVisible() const { return !m_options.noTry; }

    void SelectJob(JobKind job);
    // row: the clicked row's index, or 0 for the first selected row.
    void SeedInputsFromRow(int row);
    void RefreshJobInputs();
    // The search or replace box changed: Try follows the search text.
    void SearchTextChanged();
    // Why the search text is no valid search, shown at the box while it is
    // typed; empty when it is one.
    QString SearchFault() { return m_text.PatternFault(m_inputs.searchText); }
    // The numbering preview (txtSample).
    QString preview() const { return m_switch.preview(); }
    // The planned names of rows first..last as a Try would make them now,
    // for the window's live preview: nothing is shown, checked or written
    // into the rows. A preview withdraws Execute, since the list then shows
    // names no Try has checked. Empty while busy.
    QStringList PreviewNames(int first, int last);

    // Clears the list and reads folder into it; returns failed.
    bool LoadFolder(const QString &folder);
    // The folder given at start: in the MP3 job every file is read into the
    // main list, so that the files a saved MP3 job cannot show are there once
    // the user chooses a file job. Returns failed.
    bool LoadStartFolder(const QString &folder);
    // Clears both lists and reads exactly the chosen files.
    void ReadFiles(const QStringList &paths);
    void ClearLists();
    // The list commands, on the active list.
    void SelectAllRows();
    void MoveSelectedRows(int step);
    void DeleteSelectedRows();
    // Sorts the active list by column (0-based) with the sort keys of the text engine.
    void SortActiveList(int column, bool descending);
    // Paths dropped on the active list before row (0: at the end).
    void DropPaths(const QStringList &paths, int row);
    // The rows being dragged within the main list: before and after the drop.
    void StartRowMove();
    void DropRows(int row);
    // "全て消去": empties the active list and forgets the folder and the command file.
    void DeleteAllRows();
    void ListChanged();

    // The caption: title, version, command file, folder, applied switches.
    QString caption() const;
    QString currentFolder() const { return m_currentFolder; }
    // The folder the next command file reads when it names none.
    void SetCurrentFolder(const QString &folder);
    QString commandFilePath() const { return m_commandFilePath; }
    void setOptionText(const QString &text) { m_optionText = text; }

    // On while a command line is processed, and afterwards while the search
    // it gave stands: clicks and job switches leave the search and the base
    // name alone. A new search text or Restore ends it.
    void setStartedFromCommandLine(bool on) { m_startedFromCommandLine = on; }
    // On while start-up runs a job unattended: nothing is asked that nobody could answer.
    void setUnattended(bool on);
    // Shows every tag column and writes the set-up's debug keys.
    void setDebug(bool on) { m_debug = on; }

    void applySettings(const Settings &settings);
    void storeSettings(Settings *settings);

    // Reads a command file, applies it and loads its folder; returns failed
    // (the file could not be read or its folder not loaded).
    bool CommandFileLoad(const QString &path);
    // Writes the current set-up; returns failed (the user has been told why).
    bool CommandFileSave(const QString &path);
    // "新規": forgets the command file and the folder, resets the inputs.
    void NewCommandFile();
    CommandSetup currentSetup();
    // The MP3 list's column widths, twips (0: leave as is), kept here alone:
    // Conf.txt and command files set them, the window's list follows them
    // and reports the user's changes.
    QList<int> mp3ColumnWidths() const { return m_mp3ColumnWidths; }
    void SetMp3ColumnWidths(const QList<int> &twips) { m_mp3ColumnWidths = twips; }

    // The journal of an interrupted run, at start-up: the user chooses to
    // put every item back or to finish the run; unattended, it is reported.
    // A tag rewrite a kill cut short is finished or undone, and said so.
    void RecoverInterruptedRun();
    // The journal holds a run "元のファイル名に戻す" can still put back.
    bool journalUndoable() const;
    // After a restart: "元のファイル名に戻す" follows the journal.
    void RefreshUndoState();

    // The window's inputs as the user edits them. A numbering input refreshes
    // the preview; a search or replace text lets Try follow it.
    void SetNumberingInput(QString JobInputs::*field, const QString &text);
    void SetAddTop(bool on);
    void SetSearchInput(QString JobInputs::*field, const QString &text);
    // An input nothing else follows: the base date and time, the step,
    // "データを直接指定".
    template <class Value>
    void SetInput(Value JobInputs::*field, const Value &value)
    {
        if (refused())
            return;
        m_inputs.*field = value;
        Q_EMIT inputsEdited();
    }
    // The MP3 job's choices: the tag versions and the field templates.
    void SetTagV1(bool on);
    void SetTagV2(bool on);
    void SetTagTemplate(int column, const QString &text);
    void ResetTagTemplates();
    // The search or replace box's drop-down list, and an entry the user deleted from it.
    QStringList DropDownFor(QString JobInputs::*field);
    void RemoveFromDropDown(QString JobInputs::*field, const QString &text);
    // The list views write the user's selection through these.
    void SetRowSelected(int row, bool on);
    void SetTagRowSelected(int row, bool on);
    // A tag chosen in cmbReplaceTarget offers Try when there are rows.
    void ChooseReplaceTarget(const QString &tag);
    // Try becomes available (after "全て選択").
    void OfferTry();

    // The window's folder load: outside the MP3 job the base name starts
    // afresh, and the inputs follow the rows read.
    void OpenFolder(const QString &folder);
    // A folder read still running stops at its next check.
    void CancelLoad();

    // The active list as tab-separated text; the main list's headers come
    // from the window, which names its columns by the job.
    QString ActiveListText(const QStringList &mainHeaders);
    // Reads the dates and size of row (1-based) when a load left them out, for the list to show.
    void ReadRowFacts(int row);
    // One column of the active list (1-based; the main list has only its new
    // names), and the values edited in the data editor written back to it.
    QStringList ActiveColumn(int column) const;
    void ApplyDirectData(int column, const QStringList &values);

    // The option menu's flags.
    void SetOption(bool RunOptions::*option, bool on);

Q_SIGNALS:
    // States, inputs, job or caption changed: the window refreshes.
    void changed();
    void busyChanged(bool busy);
    void countTextChanged(const QString &text);
    // The user edited an input of the job.
    void inputsEdited();
    // A command ended: what it did, with counts, in one line.
    void outcomeReported(const QString &text);

private:
    // A command that arrives while a run lets window events through.
    bool refused() const { return m_user.refuses(); }
    // Builds the parts that keep the commands of each kind.
    void makeParts();
    JobContext context();
    JobContext contextFor(const JobInputs &inputs, const RunOptions &options);
    void selectJob(JobKind job);
    // The MP3 list shows every tag column: "id3 disp" or debug.
    bool allTagColumns() const;
    bool quiet() const;
    // A plan cut short by a stop is no plan: every row keeps its current name.
    void dropPlan();

    GuardedUserChannel m_user;
    FileSystem &m_files;
    DesktopServices *m_desktop;
    TextEngine m_text;
    Exiv2Reader m_exif;
    RenameRowList m_rows;
    Mp3TagJob m_tagJob;
    Mp3TagRows m_tagRows;
    JobInputs m_inputs;
    RunOptions m_options;
    CommandStates m_states;
    LoaderState m_loader;
    InputHistory m_searchHistory;
    InputHistory m_replaceHistory;
    JobSwitch m_switch;
    std::unique_ptr<Job> m_job;
    bool m_startedFromCommandLine = false;
    bool m_unattended = false;
    bool m_debug = false;
    // The "id3 disp" setting.
    bool m_showId3 = false;
    QString m_currentFolder;
    QString m_commandFilePath;
    QString m_optionText;
    QList<int> m_mp3ColumnWidths;
    std::unique_ptr<NamePreview> m_preview;
    // The commands of each kind live in a part of their own.
    std::unique_ptr<InputCommands> m_inputCommands;
    std::unique_ptr<LoadCommands> m_loading;
    std::unique_ptr<ListEditing> m_listEditing;
    std::unique_ptr<JournalCommands> m_journal;
    std::unique_ptr<CommandFileCommands> m_commandFiles;
};
