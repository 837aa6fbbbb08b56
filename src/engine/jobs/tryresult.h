#pragma once

// The outcome of a planner run.
enum class TryResult {
    Planned = 0,         // every row valid, no collisions: Execute may run
    NothingToChange = 1, // no row's name would change
    Invalid = -1,        // an invalid name or input, or the expression engine failed
    Duplicate = -3,      // two or more rows would end with the same full path
};

inline int toInt(TryResult result)
{
    return static_cast<int>(result);
}
