#pragma once

#include <QString>

// The six jobs' exact labels, in the order of the job selector. They are what
// the selector shows and what the Com= entry of a command file holds; this is
// their one spelling.
namespace JobLabels {

constexpr int Count = 6;

// The label at selector position 0 to 5; empty for any other position.
QString at(int position);
// The position of an exact label; -1 when it names no job.
int positionOf(const QString &label);

} // namespace JobLabels
