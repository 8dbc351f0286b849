#pragma once

// Every event and creation handler of either front-end runs its work through
// guarded(): an error that escapes goes to the one error handler the
// application installs (the error box), and the program goes on.

#include <functional>
#include <string>

namespace ui {

using ErrorHandler = std::function<void(const std::string& utf8Message)>;

void setErrorHandler(ErrorHandler handler);

// Runs `work`; returns false when it failed and the error was reported.
bool guarded(const std::function<void()>& work);

// Reports an error that was caught elsewhere through the same handler.
void reportError(const std::string& utf8Message);

} // namespace ui
