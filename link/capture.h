#pragma once

#include "link/linkcontext.h"
#include "link/replybuffer.h"

namespace proglink {

// How a run of capture mode ended.
enum class CaptureEnd {
    Stopped,   // the user ended it: the switch-off exchange ran (whatever its answer)
    NotOpened, // the port could not be prepared: nothing was sent
    Lost,      // the port failed, or a line overflowed the buffer, after the port was open: the
               // mode ended by itself and nobody listens any more
    Refused,   // the mode was already running
};

// Capture mode: switches the programmer's own receiver on, shows every line it reports in the
// reply label until the user ends the mode, then switches the receiver off and closes the port.
class InternalReceiverCapture {
public:
    // The capture flag: 1 while the mode should keep listening.
    int EnableRX = 0;

    // Runs the whole mode on `port`; returns after the switch-off exchange (or a port failure,
    // reported as "Communications Error") and tells how it ended. A start while the mode
    // already runs is refused: it would listen on the same port as the running one.
    CaptureEnd run(LinkContext &context, ProgrammerView &view, int port, ReplyBuffer &buffer);
    // Asks the running mode to switch off at the start of its next listening turn.
    void requestStop() { EnableRX = 0; }
    bool isRunning() const { return m_running; }

private:
    CaptureEnd runOnPort(LinkContext &context, ProgrammerView &view, int port, ReplyBuffer &buffer);
    void listenAndSwitchOff(LinkContext &context, ProgrammerView &view, ReplyBuffer &buffer);

    bool m_running = false;
};

} // namespace proglink
