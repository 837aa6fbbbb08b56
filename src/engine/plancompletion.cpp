#include "engine/plancompletion.h"

#include "engine/collisioncheck.h"
#include "engine/jobcontext.h"
#include "platform/crlf.h"
#include "platform/showmessage.h"
#include "platform/userchannel.h"

#include <QStringList>

namespace {

QString duplicateMessage()
{
    return QStringList{QStringLiteral("ファイル名重複・・変更不可！"), QString(),
                       QStringLiteral("-- リストの反転表示行 --"), QString(),
                       QStringLiteral("「元に戻す」をクリック後、条件を再設定して下さい。")}
        .join(CrLf);
}

QString plannedMessage()
{
    return QStringList{QStringLiteral("試行完了！"), QString(),
                       QStringLiteral("実際にファイル情報を変更するには、右上の「実行」ボタンをクリックして下さい。")}
        .join(CrLf);
}

void setStates(CommandStates &states, TryResult result)
{
    switch (result) {
    case TryResult::Planned:
        states.tryEnabled = false;
        states.executeEnabled = true;
        states.restoreEnabled = true;
        break;
    case TryResult::NothingToChange:
        states.tryEnabled = true;
        states.executeEnabled = false;
        states.restoreEnabled = false;
        break;
    case TryResult::Invalid:
    case TryResult::Duplicate:
        states.tryEnabled = false;
        states.executeEnabled = false;
        states.restoreEnabled = true;
        break;
    }
}

} // namespace

void SelectOnlyRows(RenameRowList &rows, const std::vector<int> &rowIndexes)
{
    if (rows.isEmpty())
        return;
    for (int index = 1; index <= rows.count(); ++index)
        rows.editRow(index).selected = false;
    for (const int index : rowIndexes)
        rows.editRow(index).selected = true;
    rows.changed(1, rows.count());
}

TryResult FinishPlan(JobContext &context, const std::vector<int> &changedRows, bool quiet)
{
    const std::vector<int> colliding = CollidingRows(context.rows);
    if (!colliding.empty()) {
        for (const int index : colliding)
            context.rows.editRow(index).rejection = RowRejection::DuplicateTarget;
        SelectOnlyRows(context.rows, colliding);
        return CompletePlan(context, TryResult::Duplicate, duplicateMessage());
    }
    SelectOnlyRows(context.rows, changedRows);
    const bool silent = quiet || context.unattended;
    return CompletePlan(context, TryResult::Planned, silent ? QString() : plannedMessage());
}

TryResult RejectFaultyRows(JobContext &context, const std::vector<RowFault> &faults)
{
    std::vector<int> faulty;
    faulty.reserve(faults.size());
    QString text;
    for (const RowFault &fault : faults) {
        faulty.push_back(fault.rowIndex);
        context.rows.editRow(fault.rowIndex).rejection = fault.reason;
        text += QString::number(fault.rowIndex) + u' ' + fault.message + CrLf + CrLf;
    }
    SelectOnlyRows(context.rows, faulty);
    return CompletePlan(context, TryResult::Invalid, text);
}

TryResult CompletePlan(JobContext &context, TryResult result, const QString &message)
{
    setStates(context.states, result);
    context.user.setProgressVisible(false);
    if (!message.isEmpty())
        ShowPlainMessage(context.user, message, ApplicationTitle());
    return result;
}
