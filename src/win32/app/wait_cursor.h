#pragma once

#include "handles.h"

#include "data/busy_indicator.h"
#include "ui/wait_cursor_timing.h"

namespace win32 {

// The database-wait cursor over every window of the program: the SQL
// hourglass from the artwork, with its timing from ui::WaitCursorTiming and
// the 50 ms timer of the thread's own message loop.
class WaitCursor : public quelvo::BusyIndicator {
public:
    WaitCursor();
    ~WaitCursor() override;
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

    void databaseWorkStarted() override;
    void databaseWorkEnded() override;

    bool isShown() const { return timing_.shown(); }
    HCURSOR cursor() const { return cursor_.get(); }

private:
    static void CALLBACK timerProc(HWND, UINT, UINT_PTR, DWORD);
    void tick();
    void stopTimer();
    void restoreArrow();

    Cursor cursor_;
    ui::WaitCursorTiming timing_;
    UINT_PTR timer_ = 0;
};

} // namespace win32
