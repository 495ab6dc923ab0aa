#pragma once

#include <QtGlobal>
#include <algorithm>

namespace sim {

// 9600 baud, 8 data bits, no parity, 1 stop bit: ten bits, about 1.04 ms, per character.
constexpr double WireCharSeconds = 10.0 / 9600.0;

// The time each character of a reply takes to leave: a dripping programmer's own pace, else
// the wire rate, or nothing at all without pacing.
inline double replyCharSeconds(double dripSeconds, bool pacing) {
    if (dripSeconds > 0.0)
        return dripSeconds;
    return pacing ? WireCharSeconds : 0.0;
}

// The PC-to-programmer direction of the line: a command counts as received only once its
// characters have crossed it.
class InboundLine {
public:
    // charSeconds 0: characters arrive the moment they are sent.
    explicit InboundLine(double charSeconds)
        : m_charSeconds(charSeconds) {}

    // The moment the last of `count` characters sent at `now` has arrived.
    double arrival(double now, qsizetype count) {
        m_freeAt = std::max(now, m_freeAt) + double(count) * m_charSeconds;
        return m_freeAt;
    }

private:
    double m_charSeconds;
    double m_freeAt = 0.0;
};

} // namespace sim
