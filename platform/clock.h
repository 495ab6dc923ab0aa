#pragma once

namespace platform {

// Monotonic seconds with a fraction: a change of the time of day neither cuts short nor
// stretches a wait measured with it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double now() const = 0;
};

} // namespace platform
