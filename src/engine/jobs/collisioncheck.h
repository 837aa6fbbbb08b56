#pragma once

#include "engine/rows/renamerowlist.h"

#include <QString>

#include <vector>

// The RowIndex, ascending, of every row whose planned path (Folder and NewName)
// another row of the list shares character for character; every row counts,
// changed or not. Paths differing only in letter case are different items on
// Linux and do not collide.
std::vector<int> CollidingRows(const RenameRowList &rows);
