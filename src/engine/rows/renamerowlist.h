#pragma once

#include "engine/rows/renamerow.h"
#include "engine/rows/rowlist.h"

// The main list ListV.
using RenameRowList = RowList<RenameRow>;
