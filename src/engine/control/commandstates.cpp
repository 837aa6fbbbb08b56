#include "engine/control/commandstates.h"

#include "engine/jobs/planoutcome.h"
#include "engine/run/runoutcome.h"

void CommandStates::planned(const PlanOutcome &outcome)
{
    m_try = true;
    // An empty list plans nothing and leaves the rest as it was.
    if (outcome.total == 0)
        return;
    switch (outcome.result) {
    case TryResult::Planned:
        m_execute = true;
        m_restore = true;
        break;
    case TryResult::NothingToChange:
        m_execute = false;
        m_restore = false;
        break;
    case TryResult::Invalid:
    case TryResult::Duplicate:
        m_execute = false;
        m_restore = true;
        break;
    }
}

void CommandStates::ran(const RunOutcome &outcome)
{
    m_execute = false;
    if (outcome.ran) {
        m_try = false;
        m_restore = false;
    }
    undone(outcome);
}

void CommandStates::undone(const RunOutcome &outcome)
{
    if (outcome.undoable)
        m_restoreFileName = *outcome.undoable;
}

void CommandStates::restored()
{
    m_try = true;
    m_restore = false;
    m_execute = false;
}

void CommandStates::listChanged(int rowCount)
{
    m_try = rowCount > 0;
    if (rowCount == 0) {
        m_restore = false;
        m_execute = false;
    }
}

void CommandStates::jobChanged()
{
    m_restore = false;
    m_execute = false;
}
