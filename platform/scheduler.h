#pragma once

#include <functional>

namespace platform {

// One-off timers on the window's event loop, for what must happen a while after something
// else (a device plugged in is probed a second later) without anything waiting in between.
class Scheduler {
public:
    virtual ~Scheduler() = default;
    // Runs `action` once, from the event loop, when `seconds` have passed. An action still
    // pending when the scheduler goes is dropped.
    virtual void runAfter(double seconds, std::function<void()> action) = 0;
};

} // namespace platform
