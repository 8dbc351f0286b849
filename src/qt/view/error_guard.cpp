#include "view/error_guard.h"

#include <cstdio>
#include <exception>

namespace view {

namespace {

ErrorHandler& handler()
{
    static ErrorHandler h = [](const std::string& message) { std::fprintf(stderr, "%s\n", message.c_str()); };
    return h;
}

} // namespace

void setErrorHandler(ErrorHandler h) { handler() = std::move(h); }

bool guarded(const std::function<void()>& work)
{
    try {
        work();
        return true;
    } catch (const std::exception& e) {
        handler()(e.what());
    } catch (...) {
        handler()("Unknown error");
    }
    return false;
}

} // namespace view
