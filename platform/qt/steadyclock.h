#pragma once

#include "platform/clock.h"

#include <QElapsedTimer>

namespace platform {

class SteadyClock : public Clock {
public:
    SteadyClock() { m_timer.start(); }
    double now() const override { return double(m_timer.nsecsElapsed()) / 1e9; }

private:
    QElapsedTimer m_timer; // monotonic where the system offers it
};

} // namespace platform
