#include "platform/progressmeter.h"

#include "platform/displaytext.h"
#include "platform/userchannel.h"

#include <algorithm>

ProgressMeter::ProgressMeter(UserChannel &user, int rows, Direction direction)
    : m_user(user)
    , m_maximum(std::max(1, rows))
    , m_step(ProgressStep(rows))
    , m_direction(direction)
{
    m_user.setProgressMaximum(m_maximum);
    m_user.setProgressValue(direction == Direction::Down ? m_maximum : 0);
    m_user.setProgressVisible(true);
}

bool ProgressMeter::at(int row)
{
    if (row % m_step != 0)
        return true;
    m_user.setProgressValue(m_direction == Direction::Down ? std::max(0, m_maximum - row) : row);
    m_user.processEvents();
    return !m_user.stopRequested();
}

void ProgressMeter::hide()
{
    m_user.setProgressVisible(false);
}
