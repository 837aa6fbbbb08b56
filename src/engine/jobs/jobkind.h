#pragma once

#include <QString>
#include <QStringList>

#include "persist/joblabels.h"

// The six jobs, in the order of the job selector. Each is known everywhere by
// its exact label, which is also the Com= value of a command file.
enum class JobKind {
    Numbering,       // 連番作成
    FileNameReplace, // ファイル名置換
    CreatedDate,     // 作成日変更
    ModifiedDate,    // 更新日変更
    Mp3TagEdit,      // ＭＰ３タグ編集
    FolderRename,    // フォルダ名変更
};

namespace Jobs {

constexpr int Count = JobLabels::Count;
constexpr JobKind Default = JobKind::FileNameReplace;

QString label(JobKind job);
// The selector position, 0 to 5.
int position(JobKind job);
JobKind fromPosition(int position, JobKind fallback = Default);
// The job of an exact label; false when the label names none.
bool fromLabel(const QString &label, JobKind *job);
QStringList labels();

inline bool renamesItems(JobKind job)
{
    return job == JobKind::Numbering || job == JobKind::FileNameReplace || job == JobKind::FolderRename;
}
// The MP3 job works on its own list of tag rows.
inline bool editsTags(JobKind job)
{
    return job == JobKind::Mp3TagEdit;
}
inline bool setsTimeStamps(JobKind job)
{
    return job == JobKind::CreatedDate || job == JobKind::ModifiedDate;
}

} // namespace Jobs
