#pragma once

#include "platform/eventloop.h"

namespace platform {

// The application's own event loop. waitForEvents() sleeps in the event dispatcher until a
// socket notifier (a received character), a user action or its own timer wakes it.
class QtEventLoop : public EventLoop {
public:
    void yield() override;
    void waitForEvents(double maxSeconds) override;
};

} // namespace platform
