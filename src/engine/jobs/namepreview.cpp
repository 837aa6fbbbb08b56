#include "engine/jobs/namepreview.h"

#include "engine/jobs/jobcontext.h"
#include "engine/jobs/numberingplanner.h"
#include "engine/jobs/replaceplanner.h"

NamePreview::NamePreview(FileSystem &files, TagReader *tags, ExifReader *exif)
    : m_files(files)
    , m_text(m_user, files)
{
    m_text.setTagReader(tags);
    m_text.setExifReader(exif);
}

QStringList NamePreview::names(RenameRowList &rows, JobKind job, const JobInputs &inputs, const RunOptions &options,
                               int first, int last)
{
    const bool numbering = job == JobKind::Numbering;
    JobContext context{rows, job, inputs, options, m_user, m_files, m_text};
    if (numbering && CheckNumberingInputs(context) != NumberingInput::None)
        return {};

    QStringList names;
    names.reserve(std::max(0, last - first + 1));
    for (int index = std::max(first, 1); index <= std::min(last, rows.count()); ++index) {
        const QString name = numbering ? PlannedNumberedName(inputs, rows.row(index)[RenameField::NewName], index)
                                       : PlannedReplaceName(context, index);
        if (name == ErrorMarker)
            return {};
        names << name;
    }
    return names;
}
