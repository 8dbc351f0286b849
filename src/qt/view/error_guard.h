#pragma once

#include <functional>
#include <string>

namespace view {

// Every event and creation handler runs its work through guarded(): an error
// that escapes goes to the one error handler the application installs (the
// error box), and the program goes on.
using ErrorHandler = std::function<void(const std::string& message)>;

void setErrorHandler(ErrorHandler handler);

// Runs `work`; returns false when it failed and the error was reported.
bool guarded(const std::function<void()>& work);

} // namespace view
