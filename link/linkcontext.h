#pragma once

#include "link/cancellation.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/eventloop.h"
#include "platform/serialport.h"

#include <QString>

namespace proglink {

// What every programmer operation works with: one serial port, one clock, the window's event
// loop and its message boxes, and the user's way to stop a transfer (none: it runs to its end).
struct LinkContext {
    LinkContext(platform::SerialPort &port, platform::Clock &clock, platform::EventLoop &loop,
                platform::Dialogs &dialogs, const Cancellation *cancellation = nullptr)
        : port(port)
        , clock(clock)
        , loop(loop)
        , dialogs(dialogs)
        , cancellation(cancellation) {}

    platform::SerialPort &port;
    platform::Clock &clock;
    platform::EventLoop &loop;
    platform::Dialogs &dialogs;
    const Cancellation *cancellation;
    // The last character received was the CR of an accepted acknowledgement. A device that
    // ends its lines with CR LF sends the LF after it, often once the next command has gone
    // out: that LF belongs to the acknowledgement's line end, not to the next reply.
    bool lineEndMayFollow = false;
};

// The parts of the main window that programmer operations write to.
class ProgrammerView {
public:
    virtual ~ProgrammerView() = default;
    virtual void setStatusText(const QString &text) = 0; // status panel 1
    // Status panel 2: which device the programmer's port number stands for, or why no port
    // could be used.
    virtual void setPortText(const QString &text) = 0;
    virtual void setReplyText(const QString &text) = 0; // lblEnableRX
    virtual void showProgress(int minimum, int maximum) = 0;
    virtual void setProgress(int value) = 0;
    virtual void hideProgress() = 0;
    virtual void showSerialBeingWritten(const QString &serial) = 0; // Text1
};

} // namespace proglink
