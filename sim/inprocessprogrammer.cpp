#include "sim/inprocessprogrammer.h"

namespace sim {

InProcessProgrammer::InProcessProgrammer(platform::FakeTimeline &timeline,
                                         ProgrammerOptions options, bool pacing)
    : m_timeline(timeline)
    , m_model(std::move(options))
    , m_inbound(pacing ? WireCharSeconds : 0.0)
    , m_transmitter(replyCharSeconds(m_model.options().dripSeconds, pacing)) {}

void InProcessProgrammer::opened(Deliver deliver) {
    if (m_hungUp)
        return;
    m_deliver = std::move(deliver);
}

void InProcessProgrammer::closed() {
    dropLine();
}

// What is still on its way to the PC is lost with the port; the PC flushes it anyway.
void InProcessProgrammer::dropLine() {
    m_deliver = nullptr;
    m_transmitter.clear();
    m_pumpAt = std::numeric_limits<double>::infinity();
    ++m_pumpGeneration;
}

void InProcessProgrammer::received(const QByteArray &bytes) {
    const double arrival = m_inbound.arrival(m_timeline.now(), bytes.size());
    m_timeline.at(arrival, [this, bytes] { arrived(bytes); });
}

void InProcessProgrammer::arrived(const QByteArray &bytes) {
    if (m_hungUp)
        return;
    send(m_model.receive(bytes));
    scheduleCapture();
}

void InProcessProgrammer::pressFob(const QByteArray &line) {
    send(m_model.capture(line));
}

void InProcessProgrammer::setCaptureEvery(double seconds) {
    m_captureEvery = seconds;
    scheduleCapture();
}

void InProcessProgrammer::scheduleCapture() {
    if (m_captureScheduled || m_captureEvery <= 0.0 || !m_model.receiverOn() || m_hungUp)
        return;
    m_captureScheduled = true;
    m_timeline.after(m_captureEvery, [this] {
        m_captureScheduled = false;
        if (m_captureEvery <= 0.0 || !m_model.receiverOn() || m_hungUp)
            return;
        send(m_model.captureTick());
        scheduleCapture();
    });
}

void InProcessProgrammer::send(const Outputs &outputs) {
    if (!m_deliver) // nobody listens: the characters fall off the end of the cable
        return;
    m_transmitter.send(m_timeline.now(), outputs);
    schedulePump();
}

void InProcessProgrammer::schedulePump() {
    double due = m_transmitter.nextDue();
    // A flood is due at every moment; on the fake clock it comes a chunk at a time, so that
    // time can move on between chunks.
    if (m_transmitter.flooding())
        due = std::max(due, m_timeline.now() + FloodChunkSeconds);
    if (due >= m_pumpAt)
        return;
    m_pumpAt = due;
    const int generation = ++m_pumpGeneration;
    m_timeline.at(due, [this, generation] {
        if (generation == m_pumpGeneration)
            pump();
    });
}

void InProcessProgrammer::pump() {
    m_pumpAt = std::numeric_limits<double>::infinity();
    const Transmitter::Due due = m_transmitter.take(m_timeline.now());
    if (!due.bytes.isEmpty() && m_deliver)
        m_deliver(due.bytes);
    if (due.hangUp) {
        m_hungUp = true;
        dropLine();
        if (m_onHangUp)
            m_onHangUp();
        return;
    }
    schedulePump();
}

} // namespace sim
