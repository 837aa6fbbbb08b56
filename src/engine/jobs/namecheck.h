#pragma once

#include "engine/rows/renamerow.h"

#include <QString>

// The characters a planned name may not hold, as the messages list them. They
// keep names portable to every file system Corvane's users share files with.
QString ForbiddenNameCharacters();

// The full path a row would have under its planned name.
QString PlannedPath(const QString &folder, const QString &name);

// Why a planned name cannot be used, as the line of Try's error list shows it
// (control characters escaped); empty when the name is acceptable. folder is the row's folder, named in the
// message about forbidden characters.
QString PlannedNameFault(const QString &folder, const QString &name);

// What makes a planned name unusable, None when it is acceptable: the one rule
// of Try, which Execute asks again for every name it is about to give. A
// control character counts as unusable as a forbidden one.
RowRejection PlannedNameRejection(const QString &name);
