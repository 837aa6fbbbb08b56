#include "engine/jobs/replaceplanner.h"

#include "engine/jobs/jobcontext.h"
#include "engine/jobs/namecheck.h"
#include "engine/jobs/plancompletion.h"
#include "engine/jobs/runoptions.h"
#include "platform/displaytext.h"
#include "platform/messagerequest.h"
#include "platform/pathtext.h"
#include "platform/progressmeter.h"
#include "platform/showmessage.h"
#include "platform/userchannel.h"
#include "text/literalshield.h"
#include "text/textengine.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace {

bool holdsLineBreak(const QString &name)
{
    return std::any_of(name.cbegin(), name.cend(), [](QChar c) {
        return c == u'\n' || c == u'\r' || c.unicode() == 0x2028 || c.unicode() == 0x2029;
    });
}

// A name cut where the part the replace works on begins and ends.
struct NameParts
{
    QString before;
    QString part;
    QString after;

    QString joined(const QString &replaced) const
    {
        return before.isEmpty() && after.isEmpty() ? replaced : before + replaced + after;
    }
};

// The parts of name for scope; none when the scope finds nothing to replace
// (the extension of a name that has none).
std::optional<NameParts> scopedParts(const QString &name, ReplaceScope scope)
{
    if (scope == ReplaceScope::NameAndExtension)
        return NameParts{{}, name, {}};
    // A leading dot marks a hidden file, not an extension: ".env" is all name.
    const qsizetype dot = name.lastIndexOf(u'.');
    const bool extension = dot > 0 && !ExtensionOf(name).isEmpty();
    if (scope == ReplaceScope::ExtensionOnly)
        return extension ? std::optional<NameParts>({name.left(dot + 1), name.mid(dot + 1), {}}) : std::nullopt;
    if (scope == ReplaceScope::NameOnly && extension)
        return NameParts{{}, name.left(dot), name.mid(dot)};
    return NameParts{{}, name, {}};
}

// The planned name of one row; ErrorMarker when the expression engine failed.
// Only the file-name job searches a part of the name: folders have no extension.
QString plannedName(JobContext &context, int rowIndex)
{
    const RenameRow &row = context.rows.row(rowIndex);
    const QString &search = context.inputs.searchText;
    if (search.isEmpty())
        return row.newName();

    const QString &current = row.currentName();
    const ReplaceScope scope =
        context.job == JobKind::FileNameReplace ? context.inputs.replaceScope : ReplaceScope::NameAndExtension;
    const std::optional<NameParts> parts = scopedParts(current, scope);
    if (!parts)
        return current;
    // Everything from here, "<FileName>" too, sees the part alone.
    const QString &name = parts->part;
    if (std::optional<QString> planned = context.text.CompiledReplaceName(name, search, context.inputs.replaceText,
                                                                         context.options.ignoreCase, rowIndex))
        return parts->joined(*planned);
    // A name is data: its backslashes and dollar signs must not act as escapes or $-tokens of the replace.
    const LiteralShield shield({name, context.inputs.replaceText});
    // Capture groups are always taken ignoring letter case, whatever the option says.
    QString replace = context.text.ExpandSubMatches(name, search, context.inputs.replaceText, true, &shield);
    if (replace == ErrorMarker)
        return ErrorMarker;
    replace.replace(QStringLiteral("<FileName>"), shield.shielded(name), Qt::CaseInsensitive);
    // A failed expression would otherwise end up inside the new name.
    replace = context.text.ExpandTemplate(replace, rowIndex, row[RenameField::Path]);
    if (replace == ErrorMarker)
        return ErrorMarker;
    const QString planned = context.text.RegReplace(name, search, replace, context.options.ignoreCase);
    return planned == ErrorMarker ? planned : parts->joined(shield.restored(planned));
}

} // namespace

QString PlannedReplaceName(JobContext &context, int rowIndex)
{
    // The replace cannot take a name with a line break: such a row keeps its name.
    const QString &current = context.rows.row(rowIndex).currentName();
    if (!context.inputs.searchText.isEmpty() && holdsLineBreak(current))
        return current;
    return plannedName(context, rowIndex);
}


PlanOutcome PlanReplace(JobContext &context)
{
    RenameRowList &rows = context.rows;
    const int count = rows.count();
    if (count == 0)
        return {};

    const QString &search = context.inputs.searchText;
    if (!search.isEmpty()
        && context.text.RejectSearch(rows.row(1)[RenameField::CurrentName], search, context.options.ignoreCase)) {
        // No plan of an earlier Try stays on screen beside the error.
        ClearPlan(rows);
        return CompletePlan(context, TryResult::Invalid);
    }
    ProgressMeter progress(context.user, count, ProgressMeter::Direction::Up);

    std::vector<RowFault> faults;
    std::vector<int> changed;
    for (int index = 1; index <= count; ++index) {
        // The replace cannot take a name with a line break: such a row keeps
        // its name, and is faulty only when the search would change it.
        const QString &current = rows.row(index).currentName();
        const bool lineBreak = !search.isEmpty() && holdsLineBreak(current);
        const bool unreplaceable = lineBreak && context.text.RegTest(current, search, context.options.ignoreCase);
        const QString planned = lineBreak ? current : plannedName(context, index);
        if (planned == ErrorMarker) {
            // The engine has shown its own message; the rows from here on keep their names.
            if (index > 1)
                rows.changed(1, index - 1);
            return CompletePlan(context, TryResult::Invalid);
        }
        RenameRow &row = rows.editRow(index);
        row.set(RenameField::NewName, planned);
        // A row the job leaves as it is is never refused for its name.
        const bool changes = planned != row.currentName();
        QString fault = unreplaceable ? QStringLiteral("　ファイル名に改行が含まれるため置換できません。")
                        : changes     ? PlannedNameFault(row.folder(), row.currentName(), planned)
                                      : QString();
        if (!fault.isEmpty())
            faults.push_back({index, std::move(fault),
                              unreplaceable ? RowRejection::LineBreak
                                            : PlannedNameRejection(row.currentName(), planned)});
        else if (changes)
            changed.push_back(index);

        // Stopped: the controller drops what was planned so far.
        if (!progress.at(index)) {
            rows.changed(1, index);
            return CompletePlan(context, TryResult::Invalid);
        }
    }
    rows.changed(1, count);

    if (!faults.empty())
        return RejectFaultyRows(context, faults);
    if (changed.empty()) {
        PlanOutcome outcome = CompletePlan(context, TryResult::NothingToChange);
        if (!context.options.noConfirm) {
            outcome.message = QStringLiteral("置換できるファイルはありませんでした。");
            outcome.title = QStringLiteral("置換無し");
        }
        return outcome;
    }
    return FinishPlan(context, changed);
}
