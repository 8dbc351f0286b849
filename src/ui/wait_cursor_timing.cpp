#include "ui/wait_cursor_timing.h"

namespace ui {

bool WaitCursorTiming::workStarted()
{
    ++depth_;
    timerRunning_ = false;
    if (shown_)
        return false;
    shown_ = true;
    return true;
}

bool WaitCursorTiming::workEnded(Clock::time_point now)
{
    if (depth_ > 0)
        --depth_;
    if (depth_ > 0)
        return false;
    ended_ = now;
    timerRunning_ = true;
    return true;
}

bool WaitCursorTiming::tick(Clock::time_point now)
{
    if (!timerRunning_ || depth_ > 0 || now - ended_ < Period)
        return false;
    timerRunning_ = false;
    const bool wasShown = shown_;
    shown_ = false;
    return wasShown;
}

} // namespace ui
