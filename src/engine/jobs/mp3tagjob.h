#pragma once

#include "engine/jobs/planoutcome.h"
#include "engine/rows/tagrowlist.h"
#include "engine/run/runoutcome.h"
#include "tags/clstag.h"
#include "text/tagreader.h"

#include <QStringList>

#include <array>
#include <functional>

class FileSystem;
class TextEngine;
class UserChannel;

// The job "ＭＰ３タグ編集": its list, its inputs and the one clsTAG it shares
// between all its operations. Nothing here opens a window, so unattended runs
// use it as the main window does. It also reads the "<Title>"… placeholders
// for the text engine, with the job's ID3v1/ID3v2 choice.
class Mp3TagJob : public TagReader
{
public:
    Mp3TagJob(UserChannel &user, const FileSystem &files, TextEngine &text);

    TagRowList &rows() { return m_rows; }
    const TagRowList &rows() const { return m_rows; }
    clsTAG &tag() { return m_tag; }

    // Read and write the ID3v1 block / the ID3v2 tag.
    bool TagV1 = true;
    bool TagV2 = true;
    // Where a rewrite that moves a file's audio is recorded; empty keeps no record.
    QString journalPath;
    // One template per column, by 0-based column index; keepTemplate() leaves
    // a column alone.
    std::array<QString, TagRow::FieldCount> txtField;
    void resetTemplates();

    // Reads one file's tags into a new row at position (1-based; 0 appends).
    // A file that does not exist adds nothing.
    void AddTagRow(const QString &path, int position);
    // The same for many files at once: their rows go in together at position,
    // in the order of paths, so a long list is not moved once per row.
    // done, when set, hears how many paths have been read.
    void AddTagRows(const QStringList &paths, int position, const std::function<void(int)> &done = {});

    // The value to show for a column of the loaded file: ID3v2 wins where it
    // has the field.
    QString GetTagField(const QString &name, bool tagV1, bool tagV2) const;
    static QString GetTagField(const clsTAG &tag, const QString &name, bool tagV1, bool tagV2);
    void SetTagField(const QString &name, const QString &value, bool tagV1, bool tagV2);
    // Writes the loaded tags back; empty on success, else the reason. A tag
    // that may not be rewritten leaves the whole file untouched.
    QString WriteTags(bool tagV1, bool tagV2);

    // Fills the columns whose template was changed from each row's file name
    // and selects the rows that change. Invalid when the search pattern is
    // invalid or an expansion failed (the text engine has shown why).
    PlanOutcome TryTags(const QString &searchText, bool directData);
    // Writes into each row's file the columns that differ from it; quiet asks
    // nothing first. Failures and ID3v1 text that had to lose characters are
    // listed as the run ends.
    RunOutcome ExecuteTags(bool quiet);
    // Shows the tags as they are on disk now.
    void ReloadTags();

    // "path : reason" for every file the last ExecuteTags could not write.
    QStringList failures() const { return m_failures; }
    // "path : reason" for every file the last ExecuteTags left alone although
    // its row asked for changes: a symbolic link, or no tag chosen to hold them.
    QStringList skipped() const { return m_skipped; }

    QString tagField(const QString &path, const QString &header) override;

private:
    struct RowWrite
    {
        enum class Outcome { Unchanged, Written, Skipped, Failed };
        Outcome outcome = Outcome::Unchanged;
        QString reason;
    };
    // Writes into its file what a row holds and the file does not.
    RowWrite writeRow(const TagRow &row);
    // False when the file does not exist.
    bool readRow(const QString &path, TagRow *row);
    void readColumns(TagRow &row) const;
    // Ends a Try that an expansion or the pattern stopped; rows filled so far keep their values.
    PlanOutcome stopTry(int count);

    UserChannel &m_user;
    const FileSystem &m_files;
    TextEngine &m_text;
    TagRowList m_rows;
    clsTAG m_tag;
    // The placeholders read through their own instance, so a Try never
    // disturbs what the job has loaded.
    clsTAG m_readerTag;
    QStringList m_failures;
    QStringList m_skipped;
};
