#include "engine/jobs/mp3tagjob.h"

#include "platform/crlf.h"
#include "platform/displaytext.h"
#include "platform/filesystem.h"
#include "platform/pathtext.h"
#include "platform/progressmeter.h"
#include "platform/showmessage.h"
#include "platform/userchannel.h"
#include "text/textengine.h"

#include <algorithm>

namespace {

const QString Tag1Replaced = QStringLiteral("ID3v1 に保存できない文字を「?」に置き換えました");

// The progress frame of one loop over the list, hidden whichever way the loop ends.
class Progress : public ProgressMeter
{
public:
    Progress(UserChannel &user, int rows) : ProgressMeter(user, rows) {}
    ~Progress() { hide(); }
};

} // namespace

Mp3TagJob::Mp3TagJob(UserChannel &user, const FileSystem &files, TextEngine &text)
    : m_user(user), m_files(files), m_text(text), m_tag(&user), m_readerTag(&user)
{
    resetTemplates();
}

void Mp3TagJob::resetTemplates()
{
    for (int column = 0; column < TagRow::FieldCount; ++column)
        txtField[column] = TagRow::keepTemplate(column);
}

QString Mp3TagJob::GetTagField(const clsTAG &tag, const QString &name, bool tagV1, bool tagV2)
{
    if (tagV2 && tag.ID3_FrameNo(tag.GetID(name)) != 0)
        return tag.ID3_DATA(name);
    if (tagV1)
        return tag.TAG1_DATA(name);
    return {};
}

QString Mp3TagJob::GetTagField(const QString &name, bool tagV1, bool tagV2) const
{
    return GetTagField(m_tag, name, tagV1, tagV2);
}

void Mp3TagJob::SetTagField(const QString &name, const QString &value, bool tagV1, bool tagV2)
{
    if (tagV2)
        m_tag.setID3_DATA(name, value);
    if (tagV1)
        m_tag.setTAG1_DATA(name, value);
}

QString Mp3TagJob::WriteTags(bool tagV1, bool tagV2)
{
    if (tagV2 && m_tag.ID3_IsExist() && m_tag.id3Changed() && !m_tag.id3Refusal().isEmpty())
        return m_tag.id3Refusal();
    if (tagV1) {
        const QString error = m_tag.UpdateTAG1(m_tag.FilePath());
        if (!error.isEmpty())
            return error;
    }
    if (tagV2)
        return m_tag.UpdateID3(m_tag.FilePath());
    return {};
}

void Mp3TagJob::readColumns(TagRow &row) const
{
    // Only tag columns: the path, sort key and Try record are the row's own.
    for (int column = 1; column < TagRow::FieldCount; ++column) {
        if (TagRow::isTagField(column))
            row[column] = GetTagField(TagRow::header(column), TagV1, TagV2);
    }
    QString version;
    if (m_tag.Tg1_IsExist())
        version = QStringLiteral("v1.x");
    if (m_tag.ID3_IsExist()) {
        if (!version.isEmpty())
            version += u'/';
        version += u"v2." + QString::number(m_tag.ID3_Ver());
    }
    row[TagField::ID3Ver] = version;
}

bool Mp3TagJob::readRow(const QString &path, TagRow *row)
{
    if (!m_files.exists(path))
        return false;
    (*row)[TagField::FileName] = FileNameOf(path);
    m_tag.setFilePath(path);
    readColumns(*row);
    (*row)[TagField::Path] = path;
    return true;
}

void Mp3TagJob::AddTagRow(const QString &path, int position)
{
    AddTagRows({path}, position);
}

void Mp3TagJob::AddTagRows(const QStringList &paths, int position, const std::function<void(int)> &done)
{
    std::vector<TagRow> block;
    block.reserve(static_cast<std::size_t>(paths.size()));
    for (qsizetype i = 0; i < paths.size(); ++i) {
        TagRow row;
        if (readRow(paths.at(i), &row))
            block.push_back(std::move(row));
        if (done)
            done(static_cast<int>(i) + 1);
    }
    m_rows.insertBlock(position == 0 ? m_rows.count() + 1 : position, std::move(block));
}

PlanOutcome Mp3TagJob::TryTags(const QString &searchText, bool directData)
{
    const int count = m_rows.count();
    PlanOutcome outcome;
    outcome.total = count;
    if (count == 0)
        return outcome;
    if (!directData) {
        Progress progress(m_user, count);
        bool patternChecked = false;
        for (int i = 1; i <= count; ++i) {
            if (!progress.at(i))
                return stopTry(i - 1);
            TagRow &row = m_rows.editRow(i);
            const QString fileName = row[TagField::FileName];
            int matched = -1; // asked once per row, when a column needs it
            bool changed = false;
            QString saveText;
            for (int column = 0; column < TagRow::FieldCount; ++column) {
                if (!TagRow::isTagField(column) || txtField[column] == TagRow::keepTemplate(column))
                    continue;
                if (!patternChecked && !searchText.isEmpty()) {
                    // The match routines take an invalid pattern for "no match";
                    // the replace reports it, as in the file-name job.
                    patternChecked = true;
                    if (m_text.RegReplace(fileName, searchText, QString(), true) == ErrorMarker)
                        return stopTry(count);
                }
                if (matched < 0)
                    matched = m_text.RegFirstMatch(fileName, searchText, true).isEmpty() ? 0 : 1;
                if (matched == 0)
                    continue;
                const QString pattern = m_text.ExpandTemplate(txtField[column], i, row[TagField::Path]);
                const QString value = m_text.ExpandSubMatches(fileName, searchText, pattern, true);
                if (value == ErrorMarker)
                    return stopTry(count);
                if (value != row[column]) {
                    row[column] = value;
                    changed = true;
                }
                saveText += row[column] + u'\t';
            }
            row[TagField::Save] = saveText;
            row.selected = changed;
            outcome.changing += changed;
        }
        m_rows.changed(1, count);
    }
    return outcome;
}

PlanOutcome Mp3TagJob::stopTry(int count)
{
    if (count > 0)
        m_rows.changed(1, count);
    PlanOutcome outcome;
    outcome.result = TryResult::Invalid;
    outcome.total = m_rows.count();
    return outcome;
}

RunOutcome Mp3TagJob::ExecuteTags(bool quiet)
{
    RunOutcome outcome;
    if (!quiet
        && ShowMessage(m_user, u"ＭＰ３タグ情報を変更します。" + CrLf + u"よろしいですか？",
                       MessageStyle::OkCancel, QStringLiteral("確認"), true)
               == MessageAnswer::Cancel)
        return outcome;
    outcome.ran = true;

    m_failures.clear();
    m_skipped.clear();
    QStringList warnings;
    int written = 0;
    const int count = m_rows.count();
    {
        TagJournal journal(journalPath);
        m_tag.setJournal(&journal);
        Progress progress(m_user, count);
        for (int i = 1; i <= count; ++i) {
            const QString path = m_rows.row(i)[TagField::Path];
            const RowWrite write = writeRow(m_rows.row(i));
            if (write.outcome == RowWrite::Outcome::Failed)
                m_failures << path + u" : " + write.reason;
            else if (write.outcome == RowWrite::Outcome::Skipped)
                m_skipped << path + u" : " + write.reason;
            else if (write.outcome == RowWrite::Outcome::Written && TagV1 && m_tag.tag1Replaced())
                warnings << path + u" : " + Tag1Replaced;
            written += write.outcome == RowWrite::Outcome::Written;
            // Every file is written whole or not at all, so a stop is safe between two.
            if (!progress.at(i) && i < count) {
                m_failures << QStringLiteral("指示により中止しました。%1 件目より後のファイルは変更していません").arg(i);
                break;
            }
        }
        m_tag.setJournal(nullptr);
    }
    if (!warnings.isEmpty())
        m_user.showErrorList(QStringLiteral("ＭＰ３タグ書き込み警告"), warnings.join(CrLf) + CrLf);
    const QString notWritten = m_skipped.isEmpty()
                                   ? QString()
                                   : QStringLiteral("書き込まなかったファイル: %1 件").arg(m_skipped.size());
    if (!m_skipped.isEmpty())
        m_user.showErrorList(notWritten, m_skipped.join(CrLf) + CrLf);
    outcome.failures = static_cast<int>(m_failures.size());
    outcome.failureNotice = QStringLiteral("完了しませんでした");
    if (!m_failures.isEmpty()) {
        outcome.log = m_failures.join(CrLf) + CrLf;
        m_user.showErrorList(QStringLiteral("ＭＰ３タグ書き込み失敗"), outcome.log);
    } else if (count > 0) {
        outcome.folder = FolderOf(m_rows.row(1)[TagField::Path]);
    }
    outcome.summary = QStringLiteral("書き換えたファイル: %1 件").arg(written);
    if (!notWritten.isEmpty())
        outcome.summary += CrLf + notWritten;
    return outcome;
}

Mp3TagJob::RowWrite Mp3TagJob::writeRow(const TagRow &row)
{
    if (!m_tag.setFilePath(row[TagField::Path]))
        return {RowWrite::Outcome::Failed, m_tag.loadError()};
    // Only what differs from the file goes in: a column the job left alone
    // keeps its bytes in both tags, however each reader decodes them.
    std::vector<int> changed;
    for (int column = 1; column < TagRow::FieldCount; ++column) {
        if (TagRow::isTagField(column) && row[column] != GetTagField(TagRow::header(column), TagV1, TagV2))
            changed.push_back(column);
    }
    if (changed.empty())
        return {};
    if (const QString link = m_tag.linkRefusal(); !link.isEmpty())
        return {RowWrite::Outcome::Skipped, link};
    if (!TagV1 && !TagV2)
        return {RowWrite::Outcome::Skipped, QStringLiteral("ID3v1 も ID3v2 も選ばれていないため書き込みません")};
    // A tag the file lacks is made to hold every value the row shows.
    const bool made = m_tag.addMissingTags(TagV1, TagV2);
    for (int column = 1; column < TagRow::FieldCount; ++column) {
        const bool set = std::find(changed.begin(), changed.end(), column) != changed.end();
        if (set || (made && TagRow::isTagField(column) && !row[column].isEmpty()))
            SetTagField(TagRow::header(column), row[column], TagV1, TagV2);
    }
    if (const QString error = WriteTags(TagV1, TagV2); !error.isEmpty())
        return {RowWrite::Outcome::Failed, error};
    return {RowWrite::Outcome::Written, {}};
}

void Mp3TagJob::ReloadTags()
{
    const int count = m_rows.count();
    Progress progress(m_user, count);
    for (int i = 1; i <= count && progress.at(i); ++i) {
        TagRow &row = m_rows.editRow(i);
        m_tag.setFilePath(row[TagField::Path]);
        readColumns(row);
    }
    if (count > 0)
        m_rows.changed(1, count);
}

QString Mp3TagJob::tagField(const QString &path, const QString &header)
{
    // What could be read before a failure still counts, as in the list.
    m_readerTag.setFilePath(path);
    return GetTagField(m_readerTag, header, TagV1, TagV2);
}
