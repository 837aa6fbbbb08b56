#include "engine/control/setupmapping.h"

#include "engine/control/inputhistory.h"
#include "engine/jobs/mp3tagjob.h"
#include "engine/rows/tagrow.h"
#include "persist/commandsetup.h"
#include "persist/settings.h"

namespace {

// The settings kept in plain fields, as (setting, field) pairs for a
// SettingsLoader or a SettingsStorer.
void linkSettings(const SetupMapping &to, const auto &link)
{
    link(&Settings::startNo, to.inputs.startNo);
    link(&Settings::digits, to.inputs.digits);
    link(&Settings::step, to.inputs.step);
    link(&Settings::stepMinutes, to.inputs.stepMinutes);
    link(&Settings::addTop, to.inputs.addTop);
    link(&Settings::separator, to.inputs.separator);
    link(&Settings::onlyTopFolder, to.options.onlyTopFolder);
    link(&Settings::noConfirm, to.options.noConfirm);
    link(&Settings::noTry, to.options.noTry);
    link(&Settings::errorContinue, to.options.errorContinue);
    link(&Settings::ignoreCase, to.options.ignoreCase);
    link(&Settings::regOrder, to.options.regOrder);
    link(&Settings::tagV1, to.tagJob.TagV1);
    link(&Settings::tagV2, to.tagJob.TagV2);
    link(&Settings::showId3Choice, to.showId3);
    link(&Settings::useExifTime, to.inputs.useExifTime);
}

// The inputs a command file carries, as (command-file value, input) pairs;
// link copies one way or the other.
template <class Setup, class Inputs, class Link>
void linkCommandSetup(Setup &setup, Inputs &inputs, const Link &link)
{
    link(setup.searchText, inputs.searchText);
    link(setup.replaceText, inputs.replaceText);
    link(setup.baseName, inputs.baseName);
    link(setup.startNo, inputs.startNo);
    link(setup.digits, inputs.digits);
    link(setup.addTop, inputs.addTop);
    link(setup.separator, inputs.separator);
    link(setup.stepMinutes, inputs.stepMinutes);
    link(setup.useExifTime, inputs.useExifTime);
}

} // namespace

void SetupMapping::load(const Settings &settings) const
{
    linkSettings(*this, SettingsLoader{settings});
    searchHistory.setExecuteHistoryText(settings.searchHistory);
    replaceHistory.setExecuteHistoryText(settings.replaceHistory);
    mp3ColumnWidths = settings.mp3ColumnWidths;
    inputs.replaceScope = ReplaceScopeOf(settings.replaceScope);
}

void SetupMapping::store(Settings *settings) const
{
    linkSettings(*this, SettingsStorer{*settings});
    settings->searchHistory = searchHistory.executeHistoryText();
    settings->replaceHistory = replaceHistory.executeHistoryText();
    settings->replaceScope = static_cast<int>(inputs.replaceScope);
}

void SetupMapping::apply(const CommandSetup &setup) const
{
    linkCommandSetup(setup, inputs, [](const auto &stored, auto &input) { input = stored; });
    inputs.replaceScope = ReplaceScopeOf(setup.replaceScope);
    for (int column = 0; column < TagRow::FieldCount && column < setup.tagTemplates.size(); ++column)
        tagJob.txtField[column] = setup.tagTemplates.at(column);
    mp3ColumnWidths = setup.tagColumnWidths;
}

void SetupMapping::fill(CommandSetup *setup, bool debug) const
{
    linkCommandSetup(*setup, inputs, [](auto &stored, const auto &input) { stored = input; });
    setup->replaceScope = static_cast<int>(inputs.replaceScope);
    setup->tagTemplates.clear();
    setup->tagColumnWidths.clear();
    for (int column = 0; column < TagRow::FieldCount; ++column) {
        setup->tagTemplates << tagJob.txtField[column];
        setup->tagColumnWidths << mp3ColumnWidths.value(column, TagRow::defaultWidth(column, debug));
    }
}
