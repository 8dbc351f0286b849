#pragma once

#include "ui/service_lifetime.h"

#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TServiceConnection;
class TForm2;

namespace app {

class WaitCursor;

// The program's long-lived objects, created in the fixed order: the
// connection service, then the search window (visible at the end of its own
// creation, the main window). Destroyed in reverse, the service detaching
// before the client library goes.
class Program {
public:
    using Options = ui::ServiceLifetime::Options;

    explicit Program(const Options& options);
    ~Program();

    TServiceConnection& service() { return service_->service(); }
    TForm2& searchWindow() { return *window_; }

    // Destroys the search window, then closes the query and detaches. Errors
    // of that last step go to standard error: no window is left to show them.
    void end();

private:
    std::unique_ptr<WaitCursor> waitCursor_;
    std::unique_ptr<ui::ServiceLifetime> service_;
    std::unique_ptr<TForm2> window_;
};

// The program from its first line to its last: application object, error
// box, start-up, message loop, orderly end. `onShown`, for measuring
// start-up, runs once the search window's first expose has been painted.
int run(int argc, char** argv, std::function<void()> onShown = {});

} // namespace app
