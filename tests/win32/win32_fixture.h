#pragma once

// What the tests of the Windows program's real windows need to drive them by
// messages and the pointer, and to read them back.

#include "error_box.h"
#include "program.h"
#include "search_window.h"
#include "solution_window.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace win32_test {

// The component with a control id below a window, depth first.
HWND component(HWND top, int id);

// Dispatches what is waiting, as the program's loop would, for at least
// `milliseconds`.
void pump(int milliseconds = 0);

// A left click (or another button's) by messages, in client coordinates.
void click(HWND window, POINT at, UINT down = WM_LBUTTONDOWN, UINT up = WM_LBUTTONUP);
// The same, released elsewhere.
void press(HWND window, POINT downAt, POINT upAt, UINT down = WM_LBUTTONDOWN, UINT up = WM_LBUTTONUP);
POINT centreOf(HWND window);
// A child's bounds in another window's client coordinates.
RECT boundsIn(HWND parent, HWND child);

// The pointer moved over a window (the real one, so the system tracks
// entering and leaving), or away from every window of the program.
void pointAt(HWND window);
void pointAway();

// Types text into a window through the loop: key-down messages are
// translated to characters as the program's loop does.
void typeKeys(HWND window, const std::vector<WPARAM>& keys);

// Pixels of a part of the screen, as 0x00RRGGBB.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    int count(std::uint32_t rgb) const;
};
Capture capture(HWND window); // its client area, children included
std::uint32_t rgbOf(ui::Color color);

// Messages seen by a window, recorded by a hook for as long as this lives.
class SysCommandSpy {
public:
    SysCommandSpy();
    ~SysCommandSpy();
    struct Seen {
        HWND window;
        WPARAM command;
    };
    std::vector<Seen> seen;
    int moveLoopMessages = 0; // messages the system's move loop handled
};

// Runs `steps` one after the other from inside whatever loop is running
// (the solution window's modal display, say); each step runs once the
// messages before it are handled.
class Script {
public:
    explicit Script(std::vector<std::function<void()>> steps);
    ~Script();
    bool done() const { return next_ >= steps_.size(); }

private:
    static LRESULT CALLBACK procedure(HWND, UINT, WPARAM, LPARAM);
    void post();
    HWND window_ = nullptr;
    std::vector<std::function<void()>> steps_;
    std::size_t next_ = 0;
};

std::u16string textOf(HWND window);

// The program as start-up makes it in a program folder, over the client
// libraries named (none: the system's own search), with the error box
// replaced by a sink.
class ProgramWindows {
public:
    ProgramWindows(const std::string& folder, std::vector<std::string> libraries);
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    TForm2& form() { return program_->searchWindow(); }
    win32::Program& program() { return *program_; }

    void clickMagnifier();
    // A left click on a data cell (field index `column`) of a row in view.
    void clickCell(int row, int column);
    // Clicks a cell and runs `inside` while the solution window is shown,
    // then closes it with its close button.
    void openSolution(int row, const std::function<void(TForm1&)>& inside);

    std::vector<ui::ErrorBoxContent> boxes;

private:
    std::unique_ptr<win32::Program> program_;
};

} // namespace win32_test
