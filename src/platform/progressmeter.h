#pragma once

class UserChannel;

// The progress frame of one long loop over rows: shown at the start, moved
// and pending events let run every ProgressStep(rows) rows, so 100,000 rows
// cost a few dozen repaints.
class ProgressMeter
{
public:
    enum class Direction {
        Down, // starts full and empties as rows are done
        Up,
    };

    ProgressMeter(UserChannel &user, int rows, Direction direction = Direction::Down);

    // Row (1-based) is done. False once the user asked to stop.
    bool at(int row);
    void hide();

private:
    UserChannel &m_user;
    int m_maximum;
    int m_step;
    Direction m_direction;
};
