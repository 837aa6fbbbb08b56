#pragma once

#include "engine/jobs/jobinputs.h"
#include "engine/jobs/planoutcome.h"
#include "engine/rows/renamerowlist.h"

#include <QString>

#include <optional>

struct JobContext;

// How the numbering inputs shape a name: the number padded with zeros to
// width places (at most 20), the separator, and the number before the name
// (addTop) or after it.
struct NumberingFormat
{
    int width = 0;
    QString separator;
    bool addTop = true;

    static NumberingFormat from(const JobInputs &inputs);
};

// A name without its extension and the dot before it; the whole name when it
// has none.
QString StemOf(const QString &name);

// The numbered name built from the stem of baseName, the number and extension
// (without its dot; empty for none). When ownStem is given, each "*" of the
// base name's stem stands for it: "IMG_*" numbers a row "beach.jpg" as
// "IMG_beach". A number wider than the padding keeps all its digits.
QString MakeNumberedName(const NumberingFormat &format, const QString &baseName, qint64 number,
                         const QString &extension, const std::optional<QString> &ownStem = std::nullopt);

// The numbered name of the row at rowIndex (1-based) whose present NewName is
// newName; inputs must have passed CheckNumberingInputs.
QString PlannedNumberedName(const JobInputs &inputs, const QString &newName, int rowIndex);

// Checks the numbering inputs for the rows of the list in the order start number,
// step, digits, and shows the first fault found. Returns the box that should
// get the focus, or None when every input is fine.
NumberingInput CheckNumberingInputs(JobContext &context);

// The numbering branch of PlanJob: every row gets a numbered name made from
// its present NewName, in list order, and counts as changed.
PlanOutcome PlanNumbering(JobContext &context);

// What the preview box shows: the name the numbering inputs would give the
// row last clicked (clickedRow, 0 or 1-based), or an empty text when there
// is no base name or the step is below 1.
QString NumberingPreview(const JobInputs &inputs, const RenameRowList &rows, int clickedRow);
