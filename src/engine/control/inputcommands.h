#pragma once

#include "engine/jobs/jobinputs.h"

#include <QStringList>

#include <functional>

class GuardedUserChannel;
class InputHistory;
class JobSwitch;
class Mp3TagJob;
class CommandStates;
struct RunOptions;

// The commands behind the window's inputs: the job's texts as the user edits
// them, the MP3 job's choices, the search and replace drop-downs, and the
// inputs seeded from the rows. Each refuses while a run lets window events
// through; the controller tells the window through changed and edited.
class InputCommands
{
public:
    struct Parts
    {
        GuardedUserChannel &user;
        JobInputs &inputs;
        Mp3TagJob &tagJob;
        CommandStates &states;
        JobSwitch &jobSwitch;
        const RunOptions &options;
        InputHistory &searchHistory;
        InputHistory &replaceHistory;
        // On while a command line's search stands: see JobController.
        bool &startedFromCommandLine;
        // The states or inputs changed; the user edited an input.
        std::function<void()> changed;
        std::function<void()> edited;
    };

    explicit InputCommands(Parts parts) : m_parts(std::move(parts)) {}

    void SetNumberingInput(QString JobInputs::*field, const QString &text);
    void SetAddTop(bool on);
    void SetSearchInput(QString JobInputs::*field, const QString &text);
    void SetTagV1(bool on);
    void SetTagV2(bool on);
    void SetTagTemplate(int column, const QString &text);
    void ResetTagTemplates();
    QStringList DropDownFor(QString JobInputs::*field);
    void RemoveFromDropDown(QString JobInputs::*field, const QString &text);
    void ChooseReplaceTarget(const QString &tag);
    void OfferTry();
    void SeedInputsFromRow(int row);
    void RefreshJobInputs();
    void SearchTextChanged();

private:
    bool refused() const;
    InputHistory &historyFor(QString JobInputs::*field);

    Parts m_parts;
};
