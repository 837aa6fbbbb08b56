#pragma once

#include "engine/jobs/jobinputs.h"
#include "engine/jobs/jobkind.h"
#include "engine/jobs/runoptions.h"
#include "engine/rows/renamerowlist.h"

class DesktopServices;
class ExifReader;
class FileSystem;
class TextEngine;
class UserChannel;

// Everything one planner, executor or restore run works with, passed
// explicitly rather than kept in globals.
struct JobContext
{
    RenameRowList &rows;
    JobKind job;
    const JobInputs &inputs;
    const RunOptions &options;
    UserChannel &user;
    FileSystem &files;
    TextEngine &text;
    // On while start-up runs a job from the command line.
    bool unattended = false;
    // The desktop the executor saves its error log to and opens folders on;
    // none means the user's desktop and no folder is opened.
    DesktopServices *desktop = nullptr;
    // The crash-safe journal of renaming runs; empty keeps none.
    QString journalPath = {};
    // Where the time-stamp jobs read each file's EXIF moment; none finds none.
    ExifReader *exif = nullptr;
};
