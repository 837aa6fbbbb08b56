#include "engine/executerename.h"

#include "engine/desktopservices.h"
#include "engine/filedate.h"
#include "engine/jobcontext.h"
#include "engine/renamefile.h"
#include "platform/displaytext.h"
#include "platform/filesystem.h"
#include "platform/pathtext.h"
#include "platform/showmessage.h"
#include "platform/textfile.h"
#include "platform/userchannel.h"

#include <algorithm>
#include <vector>

namespace {

const QString crlf = QStringLiteral("\r\n");

// The failures of one run, in the order they happened.
struct ErrorLog
{
    int count = 0;
    QString text;

    void add(const QString &marker, int row, const RenameRow &item, const QString &planned,
             const QString &error, const QString &leftAt = {})
    {
        ++count;
        text += marker + QString::number(row) + crlf;
        text += u"元の名 = " + item[RenameField::CurrentName] + crlf;
        text += u"置換後 = " + planned + crlf;
        text += error + crlf;
        if (!leftAt.isEmpty())
            text += u"元の名に戻せなかったため次の名前で残っています = " + leftAt + crlf;
        text += crlf;
    }
};

// Tells the list views about the rows edited since the last report.
class ChangeReporter
{
public:
    explicit ChangeReporter(RenameRowList &rows) : m_rows(rows) {}
    void upTo(int row)
    {
        if (row >= m_first)
            m_rows.changed(m_first, row);
        m_first = row + 1;
    }

private:
    RenameRowList &m_rows;
    int m_first = 1;
};

// A planned name must stay one name in the row's folder, whatever edited it.
bool isSingleName(const QString &name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') && !name.contains(QChar(0));
}

// Returns false when the user declined.
bool renameItems(JobContext &context, bool quiet, ErrorLog &log)
{
    RenameRowList &rows = context.rows;
    const int count = rows.count();
    if (!quiet && !context.unattended
        && ShowMessage(context.user, QStringLiteral("指定の名前に書き換えます。宜しいですか？"),
                       MessageStyle::OkCancel, QStringLiteral("注意"), true)
               != MessageAnswer::Ok)
        return false;

    const QString prefix = TempPrefix(rows, TempPrefixGenerator());
    const int maximum = std::max(1, count);
    context.user.setProgressMaximum(maximum);
    context.user.setProgressValue(maximum);
    context.user.setProgressVisible(true);

    std::vector<char> failedRows(count + 1, 0);
    const int step = ProgressStep(count);
    ChangeReporter firstReport(rows);
    for (int i = 1; i <= count; ++i) {
        RenameRow &row = rows.editRow(i);
        if (row[RenameField::NewName] == row[RenameField::CurrentName]) {
            row[RenameField::TempName].clear();
        } else if (!isSingleName(row[RenameField::NewName])) {
            row[RenameField::TempName].clear();
            failedRows[i] = 1;
            log.add(QStringLiteral("☆事前処理エラー "), i, row, row[RenameField::NewName],
                    QStringLiteral("ファイル名として使えない名前です"));
        } else {
            const QString &folder = row[RenameField::Folder];
            // The temporary name keeps the old name, so an item left there is
            // still recognisable.
            row[RenameField::TempName] = JoinPath(folder, prefix + row[RenameField::CurrentName]);
            const QString error = RenameFile(context.files, JoinPath(folder, row[RenameField::CurrentName]),
                                             row[RenameField::TempName]);
            if (!error.isEmpty()) {
                failedRows[i] = 1;
                log.add(QStringLiteral("☆事前処理エラー "), i, row, row[RenameField::NewName], error);
            }
        }
        if (i % step == 0) {
            firstReport.upTo(i);
            context.user.setProgressValue(maximum - i);
            context.user.processEvents();
        }
    }
    firstReport.upTo(count);

    ChangeReporter secondReport(rows);
    for (int i = 1; i <= count; ++i) {
        if (failedRows[i])
            continue;
        RenameRow &row = rows.editRow(i);
        if (!row[RenameField::TempName].isEmpty()) {
            const QString &folder = row[RenameField::Folder];
            const QString target = JoinPath(folder, row[RenameField::NewName]);
            const QString &parked = row[RenameField::TempName];
            const QString error = RenameFile(context.files, parked, target);
            if (error.isEmpty()) {
                row[RenameField::OriginalName] = row[RenameField::CurrentName];
                row[RenameField::CurrentName] = row[RenameField::NewName];
                row.selected = false;
                context.states.restoreFileNameEnabled = true;
            } else {
                const QString source = JoinPath(folder, row[RenameField::CurrentName]);
                const bool putBack = RenameFile(context.files, parked, source).isEmpty();
                log.add(QStringLiteral("★変更処理エラー "), i, row, row[RenameField::NewName], error,
                        putBack ? QString() : parked);
            }
            row[RenameField::Path] = target;
        }
        if (i % 100 == 0) {
            secondReport.upTo(i);
            if (maximum / 2 - i >= 0)
                context.user.setProgressValue(maximum / 2 - i);
            context.user.processEvents();
        }
    }
    secondReport.upTo(count);
    context.user.setProgressVisible(false);
    return true;
}

// Returns false when the user declined.
bool setTimeStamps(JobContext &context, bool quiet, ErrorLog &log)
{
    const bool created = context.job == JobKind::CreatedDate;
    if (!quiet) {
        const QString what = created ? QStringLiteral("作成日を変更します。") : QStringLiteral("更新日を変更します。");
        if (ShowMessage(context.user, what + crlf + u"よろしいですか？", MessageStyle::OkCancel,
                        QStringLiteral("確認"), true)
            != MessageAnswer::Ok)
            return false;
    }
    const RenameField field = created ? RenameField::Created : RenameField::Modified;
    for (int i = 1; i <= context.rows.count(); ++i) {
        const RenameRow &row = context.rows.row(i);
        const QString path = JoinPath(row[RenameField::Folder], row[RenameField::NewName]);
        const QString &text = row[field];
        const QDateTime date = ParseDateText(text);
        QString error;
        if (!date.isValid())
            error = QStringLiteral("日付と時刻として読めません");
        else if (created)
            error = SetCreationTime(context.files, path, date).text();
        else
            error = SetLastWriteTime(context.files, path, date).text();
        if (!error.isEmpty())
            log.add(QStringLiteral("★変更処理エラー "), i, row, text, error);
    }
    return true;
}

void offerErrorLog(JobContext &context, const ErrorLog &log)
{
    const QString prompt = u"ファイルリネームでエラーが発生しました！" + crlf + crlf + log.text + crlf
                           + u"このエラーログをファイルに保存しますか？";
    if (ShowMessage(context.user, prompt, MessageStyle::YesNo, QStringLiteral("エラー発生"), true)
        != MessageAnswer::Yes)
        return;
    const QString folder = context.desktop ? context.desktop->desktopFolder() : SystemPaths::desktopFolder();
    const QString path = JoinPath(folder, QStringLiteral("Errlog.txt"));
    const QString error = path.isEmpty() ? QStringLiteral("デスクトップのフォルダが分かりません")
                                         : TextFile::write(path, log.text);
    if (error.isEmpty())
        ShowPlainMessage(context.user, u"下記のファイルとして保存しました。" + crlf + crlf + path,
                         QStringLiteral("ファイル出力完了"));
    else
        ShowPlainMessage(context.user,
                         u"下記のファイルに保存できませんでした。" + crlf + crlf + path + crlf + crlf + error,
                         QStringLiteral("ファイル出力失敗"));
}

bool finish(JobContext &context, bool quiet, const ErrorLog &log)
{
    context.states.tryEnabled = false;
    context.states.restoreEnabled = false;
    context.states.executeEnabled = false;
    const bool failed = log.count > 0;
    if (failed) {
        ShowPlainMessage(context.user, QStringLiteral("置換処理は正常には完了しませんでした"),
                         QStringLiteral("異常終了"));
    } else if (!quiet && !context.unattended) {
        const int answer = ShowMessage(context.user, u"変換完了" + crlf + crlf + u"フォルダを開きますか？",
                                       MessageStyle::YesNo, QStringLiteral("正常終了"), true);
        if (answer == MessageAnswer::Yes && context.desktop)
            context.desktop->openFolder(context.rows.field(1, RenameField::Folder));
    }
    context.states.listEnabled = true;
    return failed;
}

} // namespace

QString TempPrefix(const RenameRowList &rows, std::mt19937 &generator)
{
    std::uniform_int_distribution<int> draw(0, 100000);
    for (;;) {
        const QString prefix = u"tmp" + QString::number(draw(generator)).rightJustified(5, u'0') + u'_';
        const auto &all = rows.rows();
        if (std::none_of(all.begin(), all.end(),
                         [&](const RenameRow &row) { return row[RenameField::NewName].startsWith(prefix); }))
            return prefix;
    }
}

std::mt19937 &TempPrefixGenerator()
{
    static std::mt19937 generator;
    return generator;
}

bool ExecuteRename(JobContext &context, bool quiet)
{
    context.states.restoreFileNameEnabled = false;
    context.states.listEnabled = false;
    // An empty list has nothing to change and no folder to offer.
    if (context.rows.isEmpty() || !(Jobs::renamesItems(context.job) || Jobs::setsTimeStamps(context.job))) {
        context.states.listEnabled = true;
        return false;
    }
    ErrorLog log;
    const bool went = Jobs::renamesItems(context.job) ? renameItems(context, quiet, log)
                                                      : setTimeStamps(context, quiet, log);
    if (!went) {
        context.states.listEnabled = true;
        return false;
    }
    if (log.count > 0)
        offerErrorLog(context, log);
    return finish(context, quiet, log);
}
