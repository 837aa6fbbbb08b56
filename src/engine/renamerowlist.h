#pragma once

#include "engine/renamerow.h"
#include "engine/rowlist.h"

// The main list ListV.
using RenameRowList = RowList<RenameRow>;
