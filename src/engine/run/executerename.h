#pragma once

#include "engine/rows/renamerowlist.h"
#include "engine/run/runoutcome.h"

#include <QString>

#include <random>

struct JobContext;

// Execute for the name jobs: applies the plan Try left in the rows to the disk.
// Every changed item is first parked under TempPrefix + its old name, then
// given its new name, so names may be exchanged or shifted within a folder.
// No rename ever replaces an item. When the second step fails the item is
// put back under its old name; should that fail too it stays under its
// temporary name, and the error log says which. Every failure is counted
// and logged, and the log is offered to be saved.
//
// quiet or an unattended context suppresses the confirmation.
RunOutcome RenameItems(JobContext &context, bool quiet);

// Execute for the time-stamp jobs: sets one time of every listed file, with
// the same log; quiet suppresses the confirmation.
RunOutcome SetTimeStamps(JobContext &context, bool quiet);

// "tmp", the drawn number with at least five digits and "_"; drawn again while
// any row's NewName begins with it.
QString TempPrefix(const RenameRowList &rows, std::mt19937 &generator);

// The generator behind the prefixes. It is never seeded, so every run of the
// program draws the same sequence.
std::mt19937 &TempPrefixGenerator();
