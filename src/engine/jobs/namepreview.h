#pragma once

#include "engine/jobs/jobinputs.h"
#include "engine/jobs/jobkind.h"
#include "engine/jobs/runoptions.h"
#include "engine/rows/renamerowlist.h"
#include "platform/silentuserchannel.h"
#include "text/textengine.h"

#include <QStringList>

class ExifReader;
class FileSystem;
class TagReader;

// The planned names of a few rows, made as Try would make them but on the
// side: through a text engine of its own that shows no message, with no
// progress, no checks and nothing written into the rows or their selection.
class NamePreview
{
public:
    NamePreview(FileSystem &files, TagReader *tags, ExifReader *exif);

    // The planned NewName of rows first..last (1-based, within the list) by
    // job's numbering or replace; empty for inputs Try would refuse.
    QStringList names(RenameRowList &rows, JobKind job, const JobInputs &inputs, const RunOptions &options, int first,
                      int last);

private:
    SilentUserChannel m_user;
    FileSystem &m_files;
    TextEngine m_text;
};
