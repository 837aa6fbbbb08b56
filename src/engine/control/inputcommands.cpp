#include "engine/control/inputcommands.h"

#include "engine/control/commandstates.h"
#include "engine/control/guardeduserchannel.h"
#include "engine/control/inputhistory.h"
#include "engine/control/jobswitch.h"
#include "engine/jobs/mp3tagjob.h"
#include "engine/jobs/runoptions.h"

bool InputCommands::refused() const
{
    return m_parts.user.refuses();
}

void InputCommands::SetNumberingInput(QString JobInputs::*field, const QString &text)
{
    if (refused())
        return;
    m_parts.inputs.*field = text;
    RefreshJobInputs();
    m_parts.edited();
}

void InputCommands::SetAddTop(bool on)
{
    if (refused())
        return;
    m_parts.inputs.addTop = on;
    RefreshJobInputs();
    m_parts.edited();
}

void InputCommands::SetSearchInput(QString JobInputs::*field, const QString &text)
{
    if (refused())
        return;
    if (field == &JobInputs::searchText)
        m_parts.startedFromCommandLine = false;
    m_parts.inputs.*field = text;
    SearchTextChanged();
    m_parts.edited();
}

void InputCommands::SetTagV1(bool on)
{
    if (!refused())
        m_parts.tagJob.TagV1 = on;
}

void InputCommands::SetTagV2(bool on)
{
    if (!refused())
        m_parts.tagJob.TagV2 = on;
}

void InputCommands::SetTagTemplate(int column, const QString &text)
{
    if (refused())
        return;
    m_parts.tagJob.txtField[column] = text;
    if (m_parts.tagJob.rows().count() > 0)
        m_parts.states.offerTry();
}

void InputCommands::ResetTagTemplates()
{
    if (!refused())
        m_parts.tagJob.resetTemplates();
}

InputHistory &InputCommands::historyFor(QString JobInputs::*field)
{
    return field == &JobInputs::replaceText ? m_parts.replaceHistory : m_parts.searchHistory;
}

QStringList InputCommands::DropDownFor(QString JobInputs::*field)
{
    if (refused())
        return historyFor(field).dropDown();
    return historyFor(field).rebuildDropDown(m_parts.options.regOrder);
}

void InputCommands::RemoveFromDropDown(QString JobInputs::*field, const QString &text)
{
    if (!refused())
        historyFor(field).removeFromDropDown(text);
}

void InputCommands::ChooseReplaceTarget(const QString &tag)
{
    if (refused())
        return;
    if (!tag.isEmpty() && m_parts.jobSwitch.activeRowCount() > 0)
        m_parts.states.offerTry();
}

void InputCommands::OfferTry()
{
    if (!refused())
        m_parts.states.offerTry();
}

void InputCommands::SeedInputsFromRow(int row)
{
    if (refused())
        return;
    m_parts.jobSwitch.seedInputs(row, m_parts.startedFromCommandLine);
    m_parts.changed();
}

void InputCommands::RefreshJobInputs()
{
    if (refused())
        return;
    m_parts.jobSwitch.refreshInputs(m_parts.startedFromCommandLine);
    m_parts.changed();
}

void InputCommands::SearchTextChanged()
{
    if (refused())
        return;
    m_parts.jobSwitch.followSearchText(m_parts.startedFromCommandLine);
    m_parts.changed();
}
