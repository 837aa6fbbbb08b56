#include "engine/jobs/numberingplanner.h"

#include "engine/jobs/jobcontext.h"
#include "engine/jobs/namecheck.h"
#include "engine/jobs/plancompletion.h"
#include "platform/leadingnumber.h"
#include "platform/messagerequest.h"
#include "platform/pathtext.h"
#include "platform/showmessage.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

constexpr int maximumWidth = 20;
// Numbers beyond this cannot be counted exactly; they are refused like a
// number too wide for its digits.
constexpr double largestNumber = 9.0e18;

QString numberText(qint64 number, int width)
{
    const QString digits = QString::number(number < 0 ? -number : number).rightJustified(width, u'0');
    return number < 0 ? u'-' + digits : digits;
}

void showInputError(JobContext &context, const QString &prompt)
{
    ShowMessage(context.user, prompt, MessageStyle::OkOnly, QStringLiteral("入力エラー"), true);
}

} // namespace

NumberingFormat NumberingFormat::from(const JobInputs &inputs)
{
    NumberingFormat format;
    format.width = static_cast<int>(std::clamp<qint64>(LeadingNumber::wholeOfInput(inputs.digits), 0, maximumWidth));
    format.separator = inputs.separator;
    format.addTop = inputs.addTop;
    return format;
}

QString StemOf(const QString &name)
{
    const QString extension = ExtensionOf(name);
    if (extension.isEmpty())
        return name;
    const QString text = Unquote(name);
    return text.left(text.size() - extension.size() - 1);
}

QString MakeNumberedName(const NumberingFormat &format, const QString &baseName, qint64 number,
                         const QString &extension, const std::optional<QString> &ownStem)
{
    QString stem = StemOf(baseName);
    if (ownStem)
        stem.replace(u'*', *ownStem);
    const QString suffix = extension.isEmpty() ? QString() : QString(u'.' + extension);
    const QString numberPart = numberText(number, format.width);
    if (format.addTop)
        return numberPart + format.separator + stem + suffix;
    return stem + format.separator + numberPart + suffix;
}

QString PlannedNumberedName(const JobInputs &inputs, const QString &newName, int rowIndex)
{
    const NumberingFormat format = NumberingFormat::from(inputs);
    const qint64 number = LeadingNumber::wholeOfInput(inputs.startNo) + (rowIndex - 1) * LeadingNumber::wholeOfInput(inputs.step);
    const QString extension = ExtensionOf(newName);
    if (inputs.baseName.isEmpty())
        return MakeNumberedName(format, newName, number, extension);
    return MakeNumberedName(format, inputs.baseName, number, extension, StemOf(newName));
}

NumberingInput CheckNumberingInputs(JobContext &context)
{
    const JobInputs &inputs = context.inputs;
    if (inputs.startNo.isEmpty()) {
        showInputError(context, QStringLiteral("開始番号が入力されていません！"));
        return NumberingInput::StartNo;
    }
    const double step = std::nearbyint(LeadingNumber::ofInput(inputs.step));
    if (step < 1) {
        showInputError(context, QStringLiteral("連番増分値は１以上を指定して下さい。。\r\n"));
        return NumberingInput::Step;
    }
    const double start = std::nearbyint(LeadingNumber::ofInput(inputs.startNo));
    const double last = start + (std::max(context.rows.count(), 1) - 1) * step;
    const double capacity = std::pow(10.0, LeadingNumber::ofInput(inputs.digits)) - 1;
    if (capacity < last || std::abs(last) > largestNumber || std::abs(start) > largestNumber) {
        showInputError(context, QStringLiteral("桁数が不足です。\r\n桁数を大きくするか、開始番号を小さくして下さい。"));
        return NumberingInput::Digits;
    }
    return NumberingInput::None;
}

PlanOutcome PlanNumbering(JobContext &context)
{
    RenameRowList &rows = context.rows;
    const int count = rows.count();
    if (count == 0)
        return {};

    if (const NumberingInput wrong = CheckNumberingInputs(context); wrong != NumberingInput::None) {
        PlanOutcome outcome = CompletePlan(context, TryResult::Invalid);
        outcome.wrongInput = wrong;
        return outcome;
    }

    std::vector<int> changed;
    changed.reserve(count);
    std::vector<RowFault> faults;
    for (int index = 1; index <= count; ++index) {
        RenameRow &row = rows.editRow(index);
        row.set(RenameField::NewName, PlannedNumberedName(context.inputs, row.newName(), index));
        const QString &newName = row.newName();
        // A typed base name or separator must not smuggle a folder or other
        // unusable characters into the names; a name kept as it is stays.
        const QString &current = row[RenameField::CurrentName];
        QString fault = newName == current ? QString() : PlannedNameFault(row[RenameField::Folder], current, newName);
        if (!fault.isEmpty())
            faults.push_back({index, std::move(fault), PlannedNameRejection(current, newName)});
        changed.push_back(index);
    }
    rows.changed(1, count);
    if (!faults.empty())
        return RejectFaultyRows(context, faults);
    return FinishPlan(context, changed);
}

QString NumberingPreview(const JobInputs &inputs, const RenameRowList &rows, int clickedRow)
{
    const int row = std::max(clickedRow, 1);
    if (inputs.baseName.isEmpty())
        return {};
    const qint64 step = LeadingNumber::wholeOfInput(inputs.step);
    if (step < 1)
        return {};
    const qint64 start = LeadingNumber::wholeOfInput(inputs.startNo);
    if (std::abs(start + (row - 1) * static_cast<double>(step)) > largestNumber)
        return {};
    const qint64 number = start + (row - 1) * step;
    std::optional<QString> ownStem;
    if (row <= rows.count())
        ownStem = StemOf(rows.row(row)[RenameField::NewName]);
    return MakeNumberedName(NumberingFormat::from(inputs), inputs.baseName, number, ExtensionOf(inputs.baseName),
                            ownStem);
}
