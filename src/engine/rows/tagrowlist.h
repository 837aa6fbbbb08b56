#pragma once

#include "engine/rows/rowlist.h"
#include "engine/rows/tagrow.h"

// The MP3 list ListV_MP3.
using TagRowList = RowList<TagRow>;
