#pragma once

#include "sim/output.h"

#include <deque>

namespace sim {

// The programmer-to-PC direction of the line: lets the outputs leave in order, each after its
// pause, one character time apart. Both drivers ask it what is due and when.
class Transmitter {
public:
    struct Due {
        QByteArray bytes;
        bool hangUp = false;
    };

    // charSeconds 0: text leaves at once; an endless stream still runs at the wire rate, so it
    // never floods the PC. A flood is never paced: it is due at every take() and hands over a
    // chunk each time, as fast as its driver takes them.
    explicit Transmitter(double charSeconds);

    // Queues outputs produced at `now`. Any output ends an endless stream or a flood.
    void send(double now, const Outputs &outputs);
    // The characters (and hang-up) due by `now`, removed from the queue.
    Due take(double now);
    // When the next character or hang-up is due; infinity when nothing waits.
    double nextDue() const;
    bool idle() const { return m_queue.empty(); }
    // Whether a flood is what leaves now.
    bool flooding() const;
    // Drops everything queued (the PC closed the port).
    void clear();

private:
    double charSecondsOf(const Output &output) const;
    double startOfHead() const { return m_cursor + m_queue.front().pause; }

    double m_charSeconds;
    std::deque<Output> m_queue;
    double m_cursor = 0.0; // when the line is free for the head output (before its pause)
    qsizetype m_sent = 0;  // characters of the head output already due
};

} // namespace sim
