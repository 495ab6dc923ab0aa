#pragma once

namespace platform {

// The window's event loop as the programmer commands wait in it.
class EventLoop {
public:
    virtual ~EventLoop() = default;
    // Runs the events already waiting (the window redraws, other commands may run) and
    // returns without blocking.
    virtual void yield() = 0;
    // Blocks, running events, until at least one event has been handled (a character came,
    // the user clicked) or maxSeconds have passed. Never spins.
    virtual void waitForEvents(double maxSeconds) = 0;
};

} // namespace platform
