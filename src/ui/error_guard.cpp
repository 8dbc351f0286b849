#include "ui/error_guard.h"

#include <cstdio>
#include <exception>

namespace ui {

namespace {

ErrorHandler& handler()
{
    static ErrorHandler h = [](const std::string& message) { std::fprintf(stderr, "%s\n", message.c_str()); };
    return h;
}

} // namespace

void setErrorHandler(ErrorHandler h) { handler() = std::move(h); }

void reportError(const std::string& message) { handler()(message); }

bool guarded(const std::function<void()>& work)
{
    try {
        work();
        return true;
    } catch (const std::exception& e) {
        reportError(e.what());
    } catch (...) {
        reportError("Unknown error");
    }
    return false;
}

} // namespace ui
