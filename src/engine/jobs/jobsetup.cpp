#include "engine/jobs/jobsetup.h"

JobSetup JobSetup::forJob(JobKind job, bool showId3)
{
    JobSetup setup;
    switch (job) {
    case JobKind::CreatedDate:
        setup.timeStampGroup = true;
        setup.timeStampCaption = QStringLiteral("基準にする作成日時を入力");
        break;
    case JobKind::ModifiedDate:
        setup.timeStampGroup = true;
        setup.timeStampCaption = QStringLiteral("基準にする更新日時を入力");
        break;
    case JobKind::FolderRename:
        setup.folderHeaders = true;
        [[fallthrough]];
    case JobKind::FileNameReplace:
        setup.replaceGroup = true;
        setup.directDataBox = true;
        setup.replaceBox = true;
        setup.replaceScope = job == JobKind::FileNameReplace;
        break;
    case JobKind::Numbering:
        setup.numberingGroup = true;
        setup.preview = true;
        break;
    case JobKind::Mp3TagEdit:
        setup.mp3List = true;
        setup.replaceGroup = true;
        setup.directDataBox = true;
        setup.mp3FieldGroup = true;
        setup.id3Group = showId3;
        setup.directDataMenu = true;
        break;
    }
    return setup;
}
