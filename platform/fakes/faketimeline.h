#pragma once

#include "platform/clock.h"
#include "platform/eventloop.h"
#include "platform/scheduler.h"

#include <functional>
#include <map>

namespace platform {

// A clock, an event loop and its timers in one, for tests: time moves only when a wait asks it to,
// jumping straight to the next scheduled action, so a 9-second timeout takes microseconds.
// Scheduled actions run inside yield() and waitForEvents(), exactly where the real event loop
// would run a click or a received character.
class FakeTimeline : public Clock, public EventLoop, public Scheduler {
public:
    double now() const override { return m_now; }
    void yield() override;
    void waitForEvents(double maxSeconds) override;
    void runAfter(double seconds, std::function<void()> action) override {
        after(seconds, std::move(action));
    }

    // Runs action once the time has reached `time` (inside a later yield or wait).
    void at(double time, std::function<void()> action);
    void after(double delay, std::function<void()> action) { at(m_now + delay, std::move(action)); }
    // Moves time forward by `seconds`, running every action that falls due on the way.
    void advance(double seconds);
    bool hasPendingActions() const { return !m_actions.empty(); }

    int waitCount() const { return m_waits; }

private:
    bool runDueActions();

    double m_now = 1000.0; // not zero: code must not rely on the clock starting at 0
    std::multimap<double, std::function<void()>> m_actions;
    int m_waits = 0;
};

} // namespace platform
