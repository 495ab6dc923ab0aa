#pragma once

#include "sim/devicemodel.h"
#include "sim/linetiming.h"
#include "sim/ptyline.h"
#include "sim/simsettings.h"
#include "sim/transmitter.h"

#include <deque>

namespace sim {

// Drives the device model from the pseudo-terminal: blocks in poll() until characters come
// from the PC, a line is typed on standard input, a signal arrives or the next paced
// character, arrival or capture line falls due.
class SimLoop {
public:
    // `captureLines`, when given, are sent in turn instead of the steady stream of fobs.
    SimLoop(const SimSettings &settings, PtyLine &line, ProgrammerModel &model,
            QList<QByteArray> captureLines = {});

    // Runs until `signalFd` becomes readable or the programmer hangs up; returns the exit code.
    int run(int signalFd);

private:
    struct Arrival {
        double time;
        QByteArray bytes;
    };

    double now() const;
    int pollTimeout() const;
    bool outputStalled() const;
    bool readMaster();
    void readStdin();
    void deliverArrivals();
    void send(const Outputs &outputs);
    bool flushOutput();
    void afterCommands();
    void sendDueCaptures();
    bool capturesLeft() const;

    const SimSettings &m_settings;
    PtyLine &m_line;
    ProgrammerModel &m_model;
    InboundLine m_inbound;
    Transmitter m_transmitter;
    std::deque<Arrival> m_arrivals;
    QByteArray m_output; // taken from the transmitter, not yet accepted by the master
    QByteArray m_typed;  // standard input not yet ended by a newline
    bool m_stdinOpen = true;
    QList<QByteArray> m_captureLines;
    bool m_scripted;          // the capture lines come from m_captureLines
    qsizetype m_nextLine = 0; // of m_captureLines
    double m_nextCapture;
    int m_savedChanges = 0;
    bool m_hungUp = false;
};

} // namespace sim
