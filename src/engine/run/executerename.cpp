#include "engine/run/executerename.h"

#include "engine/control/desktopservices.h"
#include "engine/jobs/jobcontext.h"
#include "engine/jobs/namecheck.h"
#include "engine/run/filedate.h"
#include "engine/run/renamepasses.h"
#include "platform/crlf.h"
#include "platform/displaytext.h"
#include "platform/filesystem.h"
#include "platform/folderhandles.h"
#include "platform/fsstatus.h"
#include "platform/pathtext.h"
#include "platform/progressmeter.h"
#include "platform/showmessage.h"
#include "platform/textfile.h"
#include "platform/userchannel.h"

#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace {

constexpr qsizetype maximumNameBytes = 255;

// Where a run failed: before the item was moved, or while moving or stamping it.
enum class Stage { Before, Moving };

// The failures of one run, in the order they happened.
struct ErrorLog
{
    int count = 0;
    // Of count, the items that could not be changed.
    int items = 0;
    QString text;

    static QString marker(Stage stage)
    {
        return stage == Stage::Before ? QStringLiteral("☆事前処理エラー") : QStringLiteral("★変更処理エラー");
    }

    void add(Stage stage, int row, const RenameRow &item, const QString &planned, const QString &error,
             const QString &leftAt = {})
    {
        ++count;
        ++items;
        text += marker(stage) + u' ' + QString::number(row) + CrLf;
        text += u"元の名 = " + EscapedText(item[RenameField::CurrentName]) + CrLf;
        text += u"置換後 = " + EscapedText(planned) + CrLf;
        text += error + CrLf;
        if (!leftAt.isEmpty())
            text += u"元の名に戻せなかったため次の名前で残っています = " + EscapedText(leftAt) + CrLf;
        text += CrLf;
    }

    void note(const QString &marker, const QString &what)
    {
        ++count;
        text += marker + CrLf + what + CrLf + CrLf;
    }

    void stopped(const QString &what) { note(QStringLiteral("☆中止"), u"指示により処理を中止しました。" + what); }
};

QString unusableName(const QString &current, const QString &name)
{
    if (PlannedNameRejection(current, name) != RowRejection::None)
        return QStringLiteral("ファイル名として使えない名前です");
    // A UTF-16 unit takes at most three bytes in UTF-8.
    if (name.size() * 3 > maximumNameBytes && name.toUtf8().size() > maximumNameBytes)
        return FsStatus::fromErrno(ENAMETOOLONG).text();
    return {};
}

// The items of a run, read from the rows they move: each changing row's
// folder, current name, parking name and planned name.
class RowPlan : public MovePlan
{
public:
    RowPlan(const RenameRowList &rows, std::vector<int> itemRows)
        : m_rows(rows)
        , m_itemRows(std::move(itemRows))
    {
    }
    std::size_t size() const override { return m_itemRows.size(); }
    JournalItem item(std::size_t index) const override
    {
        const RenameRow &row = m_rows.row(m_itemRows[index]);
        return {row.folder(), row.currentName(), row.parkName(), row.newName()};
    }
    int rowOf(std::size_t index) const { return m_itemRows[index]; }

private:
    const RenameRowList &m_rows;
    std::vector<int> m_itemRows;
};

// Writes the outcome of one moved item back to its row, so that the row
// names the item wherever it now lies. The row still holds the item's plan:
// its current, parking and planned names.
// Returns whether "元のファイル名に戻す" can bring the item back.
bool recordOutcome(JobContext &context, ErrorLog &log, int index, const MoveResult &result)
{
    RenameRow &row = context.rows.editRow(index);
    const QString &planned = row.newName();
    switch (result.outcome) {
    case MoveResult::Outcome::Moved:
        row.set(RenameField::OriginalName, row.currentName());
        row.setNameOnDisk(planned);
        row.selected = false;
        return true;
    case MoveResult::Outcome::NotParked:
        log.add(Stage::Before, index, row, planned, result.error);
        break;
    case MoveResult::Outcome::PutBack:
        log.add(Stage::Moving, index, row, planned, result.error);
        break;
    case MoveResult::Outcome::LeftParked:
        log.add(Stage::Moving, index, row, planned, result.error, JoinPath(row.folder(), row.parkName()));
        // "元のファイル名に戻す" can still bring it back.
        row.set(RenameField::OriginalName, row.currentName());
        row.setNameOnDisk(row.parkName());
        return true;
    case MoveResult::Outcome::RolledBack:
        break;
    }
    return false;
}

// Returns false when the user declined.
bool renameItems(JobContext &context, bool quiet, ErrorLog &log, RunOutcome &outcome)
{
    RenameRowList &rows = context.rows;
    const int count = rows.count();
    if (!quiet && !context.unattended
        && ShowMessage(context.user, QStringLiteral("指定の名前に書き換えます。宜しいですか？"),
                       MessageStyle::OkCancel, QStringLiteral("注意"), true)
               != MessageAnswer::Ok)
        return false;

    const QString prefix = TempPrefix(rows, TempPrefixGenerator());
    std::vector<int> itemRows;
    itemRows.reserve(static_cast<std::size_t>(count));
    for (int i = 1; i <= count; ++i) {
        RenameRow &row = rows.editRow(i);
        row.setParkName({});
        if (row.newName() == row.currentName())
            continue;
        // Whatever edited the plan since Try, a name must stay one usable name in the row's folder.
        const QString fault = unusableName(row.currentName(), row.newName());
        if (!fault.isEmpty()) {
            log.add(Stage::Before, i, row, row.newName(), fault);
            continue;
        }
        // The temporary name keeps the old name, so an item left there is
        // still recognisable.
        row.setParkName(ParkName(prefix, row.currentName(), {}, i));
        itemRows.push_back(i);
    }
    // The rows hold the plan; nothing changes them until the run has ended.
    const RowPlan plan(rows, std::move(itemRows));

    RunJournal journal(context.journalPath);
    RenamePasses passes(context.files, context.user, journal, JournalRecord::Kind::Execute);
    // Written back to the rows, the results are let go before anything else is read.
    std::vector<MoveResult> results;
    if (const QString error = passes.run(plan, &results); results.empty() && !error.isEmpty())
        log.note(ErrorLog::marker(Stage::Before), u"処理の記録を書けないため、名前を変更しませんでした" + CrLf + error);
    else if (!error.isEmpty())
        log.note(ErrorLog::marker(Stage::Moving), u"処理の記録を書けないため、処理を止めました" + CrLf + error);
    for (size_t k = 0; k < results.size(); ++k) {
        if (recordOutcome(context, log, plan.rowOf(k), results[k]))
            outcome.undoable = true;
    }
    if (passes.stop() == RenamePasses::Stop::FirstPass)
        log.stopped(QStringLiteral("変更しなかった項目は元の名前のままです。"));
    if (count > 0)
        rows.changed(1, count);
    const auto moved = std::count_if(results.begin(), results.end(),
                                     [](const MoveResult &result) { return result.outcome == MoveResult::Outcome::Moved; });
    outcome.summary = PassesSummary(passes.stop(), QStringLiteral("名前を変更した項目"),
                                    QStringLiteral("変更できなかった項目"), int(moved), log.items, count);
    return true;
}

// Names the files a run from EXIF left alone: the first few, then how many more.
QString withoutExifNote(const QStringList &names)
{
    if (names.isEmpty())
        return {};
    constexpr qsizetype named = 5;
    QString note = CrLf + u"撮影日時（EXIF）が無く日時をそのままにしたファイル：" + SizeText(names.size()) + u" 件（"
                   + names.mid(0, named).join(u"、");
    if (names.size() > named)
        note += u" ほか " + SizeText(names.size() - named) + u" 件";
    return note + u'）';
}

// Returns false when the user declined.
bool setTimeStamps(JobContext &context, bool quiet, ErrorLog &log, RunOutcome &outcome)
{
    const bool created = context.job == JobKind::CreatedDate;
    if (!quiet) {
        const QString what = created ? QStringLiteral("作成日を変更します。") : QStringLiteral("更新日を変更します。");
        if (ShowMessage(context.user, what + CrLf + u"よろしいですか？", MessageStyle::OkCancel,
                        QStringLiteral("確認"), true)
            != MessageAnswer::Ok)
            return false;
    }
    const RenameField field = created ? RenameField::Created : RenameField::Modified;
    ProgressMeter progress(context.user, context.rows.count());
    FolderHandles folders(context.files);
    int set = 0;
    bool stopped = false;
    QStringList withoutExif;
    for (int i = 1; i <= context.rows.count(); ++i) {
        const RenameRow &row = context.rows.row(i);
        if (row.rejection == RowRejection::NoExifTime) {
            withoutExif << row[RenameField::CurrentName];
            continue;
        }
        const FolderHandle &folder = folders.of(row[RenameField::Folder]);
        const QString &name = row[RenameField::NewName];
        const QString &text = row[field];
        const QDateTime date = ParseDateText(text);
        QString error;
        if (!date.isValid())
            error = QStringLiteral("日付と時刻として読めません");
        else if (created)
            error = SetCreationTime(context.files, folder, name, date).text();
        else
            error = SetLastWriteTime(context.files, folder, name, date).text();
        if (!error.isEmpty())
            log.add(Stage::Moving, i, row, text, error);
        else
            ++set;
        if (!progress.at(i) && i < context.rows.count()) {
            log.stopped(QString::number(i) + u" 件目より後のファイルは変更していません。");
            stopped = true;
            break;
        }
    }
    progress.hide();
    outcome.summary = (stopped ? QStringLiteral("中止しました。") : QString())
                      + RunCounts(created ? QStringLiteral("作成日を変更したファイル") : QStringLiteral("更新日を変更したファイル"),
                                  QStringLiteral("変更できなかったファイル"), set, log.items, context.rows.count())
                      + withoutExifNote(withoutExif);
    return true;
}

void offerErrorLog(JobContext &context, const ErrorLog &log)
{
    const QString prompt = u"ファイルリネームでエラーが発生しました！" + CrLf + CrLf + log.text + CrLf
                           + u"このエラーログをファイルに保存しますか？";
    if (ShowMessage(context.user, prompt, MessageStyle::YesNo, QStringLiteral("エラー発生"), true)
        != MessageAnswer::Yes)
        return;
    const QString folder = context.desktop ? context.desktop->desktopFolder() : SystemPaths::desktopFolder();
    const QString path = JoinPath(folder, QStringLiteral("Errlog.txt"));
    const QString error = path.isEmpty() ? QStringLiteral("デスクトップのフォルダが分かりません")
                                         : TextFile::writeOwn(path, log.text);
    if (error.isEmpty())
        ShowPlainMessage(context.user, u"下記のファイルとして保存しました。" + CrLf + CrLf + path,
                         QStringLiteral("ファイル出力完了"));
    else
        ShowPlainMessage(context.user,
                         u"下記のファイルに保存できませんでした。" + CrLf + CrLf + path + CrLf + CrLf + error,
                         QStringLiteral("ファイル出力失敗"));
}

using Steps = bool (*)(JobContext &, bool, ErrorLog &, RunOutcome &);

// Asks, runs the steps and offers the log of what failed.
RunOutcome run(JobContext &context, bool quiet, Steps steps)
{
    RunOutcome outcome;
    outcome.undoable = false;
    // An empty list has nothing to change and no folder to offer.
    if (context.rows.isEmpty())
        return outcome;
    ErrorLog log;
    outcome.ran = steps(context, quiet, log, outcome);
    if (!outcome.ran)
        return outcome;
    if (log.count > 0)
        offerErrorLog(context, log);
    outcome.failures = log.count;
    outcome.log = log.text;
    outcome.failureNotice = QStringLiteral("置換処理は正常には完了しませんでした");
    outcome.folder = context.rows.field(1, RenameField::Folder);
    return outcome;
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

RunOutcome RenameItems(JobContext &context, bool quiet)
{
    return run(context, quiet, renameItems);
}

RunOutcome SetTimeStamps(JobContext &context, bool quiet)
{
    return run(context, quiet, setTimeStamps);
}
