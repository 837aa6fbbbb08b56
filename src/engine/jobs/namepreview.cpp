#include "engine/jobs/namepreview.h"

#include "engine/jobs/jobcontext.h"
#include "engine/jobs/numberingplanner.h"
#include "engine/jobs/replaceplanner.h"

NamePreview::NamePreview(FileSystem &files, TagReader *tags)
    : m_files(files)
    , m_text(m_user, files)
{
    m_text.setTagReader(tags);
}

QStringList NamePreview::names(RenameRowList &rows, bool numbering, const JobInputs &inputs, const RunOptions &options,
                               int first, int last)
{
    JobContext context{rows, JobKind::FileNameReplace, inputs, options, m_user, m_files, m_text};
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
