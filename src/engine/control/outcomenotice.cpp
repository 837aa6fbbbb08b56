#include "engine/control/outcomenotice.h"

#include "engine/control/folderopener.h"
#include "engine/jobs/planoutcome.h"
#include "engine/run/runoutcome.h"
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
        ShowPlainMessage(user, outcome.failureNotice, QStringLiteral("異常終了"));
        return;
    }
    if (quiet || outcome.folder.isEmpty())
        return;
    const QString counts = outcome.summary.isEmpty() ? QString() : outcome.summary + u"\r\n";
    const int answer = ShowMessage(user, u"変換完了\r\n" + counts + u"\r\nフォルダを開きますか？", MessageStyle::YesNo,
                                   QStringLiteral("正常終了"), true);
    if (answer == MessageAnswer::Yes && desktop)
        desktop->openFolder(outcome.folder);
}

} // namespace OutcomeNotice
