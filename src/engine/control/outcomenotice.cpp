#include "engine/control/outcomenotice.h"

#include "engine/control/folderopener.h"
#include "engine/jobs/planoutcome.h"
#include "engine/run/runoutcome.h"
#include "platform/crlf.h"
#include "platform/displaytext.h"
#include "platform/messagerequest.h"
#include "platform/showmessage.h"

namespace OutcomeNotice {

void showPlan(UserChannel &user, const PlanOutcome &outcome, bool quiet)
{
    if (!outcome.message.isEmpty()) {
        if (outcome.title.isEmpty())
            ShowPlainMessage(user, outcome.message, ApplicationTitle());
        else
            ShowMessage(user, outcome.message, MessageStyle::OkOnly, outcome.title, true);
        return;
    }
    if (outcome.result == TryResult::Planned && outcome.total > 0 && !quiet)
        ShowPlainMessage(user,
                         QStringLiteral("試行完了！\r\n\r\n"
                                        "実際にファイル情報を変更するには、右上の「実行」ボタンをクリックして下さい。"),
                         ApplicationTitle());
}

void showRun(UserChannel &user, FolderOpener *desktop, const RunOutcome &outcome, bool quiet)
{
    if (!outcome.ran)
        return;
    if (outcome.failed()) {
        const QString counts = outcome.summary.isEmpty() ? QString() : CrLf + CrLf + outcome.summary;
        ShowPlainMessage(user, outcome.failureNotice + counts, QStringLiteral("異常終了"));
        return;
    }
    if (quiet || outcome.folder.isEmpty())
        return;
    const QString counts = outcome.summary.isEmpty() ? QString() : outcome.summary + CrLf;
    const int answer = ShowMessage(user, u"変換完了" + CrLf + counts + CrLf + u"フォルダを開きますか？",
                                   MessageStyle::YesNo, QStringLiteral("正常終了"), true);
    if (answer == MessageAnswer::Yes && desktop)
        desktop->openFolder(outcome.folder);
}

void showUndone(UserChannel &user, const RunOutcome &outcome, const QString &title)
{
    if (outcome.ran)
        ShowPlainMessage(user, outcome.summary, title);
}

QString planStatus(const PlanOutcome &outcome, bool stopped)
{
    if (stopped)
        return u"試行を中止しました。計画はありません（全 " + SizeText(outcome.total) + u" 件）";
    const int changing = outcome.result == TryResult::Planned ? outcome.changing : 0;
    return u"試行結果：変更 " + SizeText(changing) + u" 件、変更不可 " + SizeText(outcome.refused) + u" 件（全 "
           + SizeText(outcome.total) + u" 件）";
}

QString runStatus(const RunOutcome &outcome)
{
    if (!outcome.ran && outcome.summary.isEmpty())
        return QStringLiteral("何も変更していません");
    QString text = outcome.summary;
    text.replace(CrLf, QStringLiteral("、"));
    return outcome.folder.isEmpty() ? text : text + u"　フォルダ：" + outcome.folder;
}

QString restoredStatus(int rows)
{
    return u"試行の結果を取り消し、ファイルの今の状態を表示しました（全 " + SizeText(rows) + u" 件）";
}

} // namespace OutcomeNotice
