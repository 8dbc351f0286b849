#pragma once

// When the database-wait cursor shows and when the arrow comes back: the
// wait cursor at once when work starts; after the end, a 50 ms timer whose
// first tick at least 50 ms after the end brings the arrow back. Work that
// starts before that tick stops the timer and keeps the wait cursor, so a
// quick series shows one wait without flicker. Calls nest.
//
// The front-ends own the real cursor and timer and do what the answers say.

#include <chrono>

namespace ui {

class WaitCursorTiming {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds Period{50};

    // True when the wait cursor must be put up now. Stops the timer.
    bool workStarted();
    // True when the timer must be started now (the outermost work ended).
    bool workEnded(Clock::time_point now);
    // A tick of the timer; true when the arrow comes back now, which also
    // stops the timer.
    bool tick(Clock::time_point now);

    bool shown() const { return shown_; }
    bool timerRunning() const { return timerRunning_; }

private:
    int depth_ = 0;
    bool shown_ = false;
    bool timerRunning_ = false;
    Clock::time_point ended_{};
};

} // namespace ui
