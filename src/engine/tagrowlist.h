#pragma once

#include "engine/rowlist.h"
#include "engine/tagrow.h"

// The MP3 list ListV_MP3.
using TagRowList = RowList<TagRow>;
