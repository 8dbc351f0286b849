#include "wait_cursor.h"

#include "cursor_override.h"
#include "pictures.h"

#include "artwork/pictures.h"

namespace win32 {

namespace {

WaitCursor* running = nullptr; // the one whose timer is set

} // namespace

WaitCursor::WaitCursor()
{
    Icon icon = iconOf(artwork::picture(artwork::PictureId::SqlWaitCursor), true);
    cursor_.reset(static_cast<HCURSOR>(icon.release()));
}

WaitCursor::~WaitCursor()
{
    stopTimer();
    if (timing_.shown())
        setCursorOverride(nullptr);
}

void WaitCursor::databaseWorkStarted()
{
    stopTimer();
    if (timing_.workStarted()) {
        setCursorOverride(cursor_.get());
        SetCursor(cursor_.get());
    }
}

void WaitCursor::databaseWorkEnded()
{
    if (timing_.workEnded(ui::WaitCursorTiming::Clock::now())) {
        running = this;
        timer_ = SetTimer(nullptr, 0, static_cast<UINT>(ui::WaitCursorTiming::Period.count()), &WaitCursor::timerProc);
    }
}

void CALLBACK WaitCursor::timerProc(HWND, UINT, UINT_PTR, DWORD)
{
    if (running)
        running->tick();
}

void WaitCursor::tick()
{
    if (timing_.tick(ui::WaitCursorTiming::Clock::now()))
        restoreArrow();
    if (!timing_.timerRunning())
        stopTimer();
}

void WaitCursor::stopTimer()
{
    if (timer_) {
        KillTimer(nullptr, timer_);
        timer_ = 0;
    }
    if (running == this)
        running = nullptr;
}

void WaitCursor::restoreArrow()
{
    setCursorOverride(nullptr);
    // The window under the pointer sets its own cursor again, as if the
    // pointer had moved; off the program's windows, the arrow.
    POINT at{};
    GetCursorPos(&at);
    const HWND under = WindowFromPoint(at);
    if (under && GetWindowThreadProcessId(under, nullptr) == GetCurrentThreadId()) {
        const LRESULT hit = SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
        SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(hit, WM_MOUSEMOVE));
    } else {
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    }
}

} // namespace win32
