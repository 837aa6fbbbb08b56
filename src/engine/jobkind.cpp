#include "engine/jobkind.h"

namespace Jobs {

QString label(JobKind job)
{
    switch (job) {
    case JobKind::Numbering:
        return QStringLiteral("連番作成");
    case JobKind::FileNameReplace:
        return QStringLiteral("ファイル名置換");
    case JobKind::CreatedDate:
        return QStringLiteral("作成日変更");
    case JobKind::ModifiedDate:
        return QStringLiteral("更新日変更");
    case JobKind::Mp3TagEdit:
        return QStringLiteral("ＭＰ３タグ編集");
    case JobKind::FolderRename:
        return QStringLiteral("フォルダ名変更");
    }
    return {};
}

int position(JobKind job)
{
    return static_cast<int>(job);
}

JobKind fromPosition(int position, JobKind fallback)
{
    if (position < 0 || position >= Count)
        return fallback;
    return static_cast<JobKind>(position);
}

bool fromLabel(const QString &text, JobKind *job)
{
    for (int at = 0; at < Count; ++at) {
        if (label(static_cast<JobKind>(at)) == text) {
            *job = static_cast<JobKind>(at);
            return true;
        }
    }
    return false;
}

QStringList labels()
{
    QStringList all;
    for (int at = 0; at < Count; ++at)
        all << label(static_cast<JobKind>(at));
    return all;
}

} // namespace Jobs
