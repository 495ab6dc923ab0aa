#pragma once

#include "platform/fakes/fakeserialport.h"
#include "platform/fakes/faketimeline.h"
#include "sim/devicemodel.h"
#include "sim/linetiming.h"
#include "sim/transmitter.h"

#include <functional>
#include <limits>

namespace sim {

// How often a flood hands the PC a chunk of characters on the fake clock.
constexpr double FloodChunkSeconds = 0.001;

// The simulated programmer at the far end of a FakeSerialPort: the same device model as the
// pseudo-terminal programmer, with the same 9600-baud pacing both ways, on a FakeTimeline, so
// that every timeout of the link and the window runs in simulated time.
class InProcessProgrammer : public platform::FakeSerialDevice {
public:
    explicit InProcessProgrammer(platform::FakeTimeline &timeline, ProgrammerOptions options = {},
                                 bool pacing = true);

    ProgrammerModel &model() { return m_model; }
    const ProgrammerModel &model() const { return m_model; }

    // A fob pressed near the programmer's receiver: `line` is sent while the receiver is on.
    void pressFob(const QByteArray &line);
    // While the receiver is on, a capture line every `seconds`; 0 stops them.
    void setCaptureEvery(double seconds);
    // Runs when the programmer hangs up, e.g. [&] { port.hangUp(); }.
    void setHangUpHandler(std::function<void()> handler) { m_onHangUp = std::move(handler); }
    bool hungUp() const { return m_hungUp; }

    void opened(Deliver deliver) override;
    void closed() override;
    void received(const QByteArray &bytes) override;

private:
    void arrived(const QByteArray &bytes);
    void send(const Outputs &outputs);
    void schedulePump();
    void pump();
    void scheduleCapture();
    void dropLine();

    platform::FakeTimeline &m_timeline;
    ProgrammerModel m_model;
    InboundLine m_inbound;
    Transmitter m_transmitter;
    Deliver m_deliver;
    std::function<void()> m_onHangUp;
    bool m_hungUp = false;
    double m_pumpAt = std::numeric_limits<double>::infinity();
    int m_pumpGeneration = 0; // a pump superseded by an earlier one does nothing
    double m_captureEvery = 0.0;
    bool m_captureScheduled = false;
};

} // namespace sim
