#pragma once

#include "engine/tryresult.h"

struct JobContext;

// Plans NewName of every row from its CurrentName by the search and replace
// strings (the file-name and the folder-name job), checks each planned name
// and then all planned paths for collisions. Never touches the disk.
TryResult PlanReplace(JobContext &context, bool quiet);
