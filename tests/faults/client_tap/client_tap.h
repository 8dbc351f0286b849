#pragma once

// A thin library in front of the real Firebird client, built only for the
// tests: it exports the entry points the program uses, forwards each call to
// libfbclient.so.2 and lets a test act at a chosen moment, just before a
// given call goes to the real client (to cut the network there, say). It
// also times the calls, to tell which one waited.

#include <chrono>
#include <functional>
#include <string>

namespace tap {

// Runs `action` once, just before the next call of `entry` is forwarded.
void before(const std::string& entry, std::function<void()> action);

// The forwarded call that took longest since the last reset().
struct Wait {
    std::string call;
    std::chrono::duration<double> time{};
};
Wait longest();
void reset();

} // namespace tap
