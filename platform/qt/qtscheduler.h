#pragma once

#include "platform/scheduler.h"

#include <QObject>

namespace platform {

// Single-shot QTimers; the ones still pending die with the scheduler.
class QtScheduler : public Scheduler {
public:
    void runAfter(double seconds, std::function<void()> action) override;

private:
    QObject m_owner; // the timers' context
};

} // namespace platform
