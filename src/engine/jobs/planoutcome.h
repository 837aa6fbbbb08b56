#pragma once

#include "engine/jobs/jobinputs.h"
#include "engine/jobs/tryresult.h"

#include <QString>

// What a Try found, for the command states, the window's summary and the
// message that ends it.
struct PlanOutcome
{
    TryResult result = TryResult::Planned;
    // Rows a successful plan changes: names, time-stamps or tags.
    int changing = 0;
    // Rows whose planned value cannot be used.
    int refused = 0;
    int total = 0;
    // The numbering box that was rejected, for the window to focus.
    NumberingInput wrongInput = NumberingInput::None;
    // Why the plan was refused, shown once it ends; empty when nothing is to be said.
    QString message;
    // The title of message; empty for the application title.
    QString title;

    // Invalid or colliding: nothing may be executed.
    bool failed() const { return result == TryResult::Invalid || result == TryResult::Duplicate; }
};
