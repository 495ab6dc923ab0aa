#include "sim/transmitter.h"

#include "sim/linetiming.h"

#include <algorithm>
#include <limits>

namespace sim {

namespace {
// An endless stream sends these, one after another.
constexpr char StreamChar = '.';
// Bounds one take() of an endless stream after a long stall of its driver, and is what one
// take() of a flood hands over.
constexpr qsizetype MaxStreamChunk = 4096;

bool isStream(const Output &output) {
    return output.kind == Output::Endless || output.kind == Output::Flood;
}
} // namespace

Transmitter::Transmitter(double charSeconds)
    : m_charSeconds(charSeconds) {}

double Transmitter::charSecondsOf(const Output &output) const {
    if (output.kind == Output::Endless && m_charSeconds <= 0.0)
        return WireCharSeconds;
    return m_charSeconds;
}

void Transmitter::send(double now, const Outputs &outputs) {
    if (outputs.isEmpty())
        return;
    // A stream is always last in the queue, since nothing after it would ever leave.
    if (!m_queue.empty() && isStream(m_queue.back())) {
        if (m_queue.size() == 1) { // running: the line is free where it has got to
            const Output &stream = m_queue.front();
            m_cursor = stream.kind == Output::Flood
                           ? std::max(now, startOfHead())
                           : startOfHead() + double(m_sent) * charSecondsOf(stream);
            m_sent = 0;
        }
        m_queue.pop_back();
    }
    if (m_queue.empty())
        m_cursor = std::max(now, m_cursor);
    m_queue.insert(m_queue.end(), outputs.begin(), outputs.end());
}

Transmitter::Due Transmitter::take(double now) {
    Due due;
    while (!m_queue.empty()) {
        const Output &head = m_queue.front();
        const double start = startOfHead();
        const double step = charSecondsOf(head);
        if (head.kind == Output::HangUp) {
            if (start <= now) {
                due.hangUp = true;
                clear();
            }
            break;
        }
        if (head.kind == Output::Flood) {
            if (start <= now)
                due.bytes.append(QByteArray(MaxStreamChunk, StreamChar));
            break;
        }
        if (head.kind == Output::Endless) {
            while (start + double(m_sent + 1) * step <= now && due.bytes.size() < MaxStreamChunk) {
                due.bytes.append(StreamChar);
                ++m_sent;
            }
            break;
        }
        while (m_sent < head.text.size() && start + double(m_sent + 1) * step <= now)
            due.bytes.append(head.text.at(m_sent++));
        if (m_sent < head.text.size() || start > now)
            break;
        m_cursor = start + double(head.text.size()) * step;
        m_queue.pop_front();
        m_sent = 0;
    }
    return due;
}

double Transmitter::nextDue() const {
    if (m_queue.empty())
        return std::numeric_limits<double>::infinity();
    const Output &head = m_queue.front();
    if (head.kind == Output::HangUp || head.kind == Output::Flood ||
        (head.kind == Output::Text && head.text.isEmpty()))
        return startOfHead();
    return startOfHead() + double(m_sent + 1) * charSecondsOf(head);
}

bool Transmitter::flooding() const {
    return !m_queue.empty() && m_queue.front().kind == Output::Flood;
}

void Transmitter::clear() {
    m_queue.clear();
    m_sent = 0;
}

} // namespace sim
