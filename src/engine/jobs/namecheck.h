#pragma once

#include "engine/rows/renamerow.h"

#include <QString>

// The characters a planned name may not hold, as the messages list them. They
// keep names portable to every file system Corvane's users share files with.
QString ForbiddenNameCharacters();

// The full path a row would have under its planned name.
QString PlannedPath(const QString &folder, const QString &name);

// Why the planned name of an item now called current cannot be used, as the
// line of Try's error list shows it (control characters escaped); empty when
// it is acceptable. folder is the row's folder, named in the message about
// forbidden characters.
QString PlannedNameFault(const QString &folder, const QString &current, const QString &planned);

// What makes the planned name of an item now called current unusable, None
// when it is acceptable: the one rule of Try, which Execute asks again for
// every name it is about to give. Linux itself refuses only "/" (and NUL): the
// other forbidden characters are refused only where the planned name holds
// more of one than the current name, so a name keeps what it already has. A
// control character counts as unusable as a forbidden one.
RowRejection PlannedNameRejection(const QString &current, const QString &planned);
