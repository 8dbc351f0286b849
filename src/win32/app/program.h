#pragma once

#include "ui/service_lifetime.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TServiceConnection;
class TForm2;

namespace win32 {

class WaitCursor;

// The program's long-lived objects in their fixed order: the connection
// service, then the search window (visible at the end of its own creation,
// the main window). Destroyed in reverse, the service detaching before the
// client library goes.
class Program {
public:
    using Options = ui::ServiceLifetime::Options;

    explicit Program(const Options& options);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    TServiceConnection& service() { return service_->service(); }
    TForm2& searchWindow() { return *window_; }
    WaitCursor& waitCursor() { return *waitCursor_; }

    // The launcher's show state, from the process's startup information.
    void applyShowState(int showCommand);

    // Destroys the search window, then closes the query and detaches. An
    // error of that last step goes to standard error: no window is left.
    void end();

private:
    std::unique_ptr<WaitCursor> waitCursor_;
    std::unique_ptr<ui::ServiceLifetime> service_;
    std::unique_ptr<TForm2> window_;
};

// The show command the launcher asked for, or -1 when it asked none.
int launcherShowCommand();

// Takes and dispatches messages until the quit message; returns its code.
int runMessageLoop();

// Handles what is waiting until no window of the thread has anything left
// to paint: the windows shown are painted.
void untilPainted();

// The program from its first line to its last; the exit code is 0.
// `onShown`, for measuring start-up, runs once the search window and its
// children have first been painted.
int run(const std::function<void()>& onShown = {});

} // namespace win32
