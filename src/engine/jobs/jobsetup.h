#pragma once

#include "engine/jobs/jobkind.h"

#include <QString>

// What the main window shows for a job: which input groups, boxes and list.
struct JobSetup
{
    bool mp3List = false; // the MP3 list instead of the main list
    bool numberingGroup = false;
    bool replaceGroup = false;
    bool timeStampGroup = false;
    QString timeStampCaption;
    bool preview = false;        // the numbering preview box
    bool directDataBox = false;  // "データを直接指定"
    bool replaceBox = false;     // the replace box and its label
    bool replaceScope = false;   // the choice of the part of the name searched
    bool mp3FieldGroup = false;  // the template boxes under the MP3 columns
    bool id3Group = false;       // the two ID3 check boxes
    bool directDataMenu = false; // "直接データ指定" in the edit menu
    bool folderHeaders = false;  // "変更後のフォルダ名" / "元のフォルダ名"

    // showId3 is the "id3 disp" setting, or the debug switch.
    static JobSetup forJob(JobKind job, bool showId3);
};
