#pragma once

#include "engine/renamerowlist.h"

#include <QString>

#include <random>

struct JobContext;

// Applies the plan Try left in the rows to the disk, for every job but the
// MP3 tag job, and returns failed.
//
// The name jobs rename in two passes: every changed item is first parked under
// TempPrefix + its old name, then given its new name, so names may be exchanged
// or shifted within a folder. No rename ever replaces an item. When the second
// step fails the item is put back under its old name; should that fail too it
// stays under its temporary name, and the error log says which.
// The time-stamp jobs set one time of every listed file. Every failure is
// counted and logged, and the run ends in "異常終了".
//
// quiet suppresses the confirmations and the closing question; an unattended
// context suppresses the rename confirmation and the closing question.
bool ExecuteRename(JobContext &context, bool quiet);

// "tmp", the drawn number with at least five digits and "_"; drawn again while
// any row's NewName begins with it.
QString TempPrefix(const RenameRowList &rows, std::mt19937 &generator);

// The generator behind the prefixes. It is never seeded, so every run of the
// program draws the same sequence.
std::mt19937 &TempPrefixGenerator();
