#pragma once

#include "engine/rows/renamerowlist.h"

#include <QString>

#include <vector>

// The 1-based positions, ascending, of every path that is equal, character for
// character, to another path of the list. Paths differing only in letter case
// are different items on Linux and do not collide.
std::vector<int> CollidingPositions(const std::vector<QString> &paths);

// The RowIndex, ascending, of every row whose planned path (Folder and NewName)
// another row of the list shares; every row counts, changed or not.
std::vector<int> CollidingRows(const RenameRowList &rows);
