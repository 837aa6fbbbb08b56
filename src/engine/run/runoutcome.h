#pragma once

#include "engine/run/renamepasses.h"

#include <QString>

#include <optional>
#include <vector>

// What an Execute did, for the command states and the message that ends it.
struct RunOutcome
{
    // False when the user declined, or there was nothing to run.
    bool ran = false;
    // Items that could not be changed, and the run's log of them.
    int failures = 0;
    QString log;
    // The closing notice when anything failed.
    QString failureNotice;
    // Counts shown under "変換完了"; empty shows none.
    QString summary;
    // The folder offered to be opened after a clean run; empty offers none.
    QString folder;
    // Whether "元のファイル名に戻す" can put back what the run left; none
    // leaves the command as it was.
    std::optional<bool> undoable;

    bool failed() const { return failures > 0; }
};
