#pragma once

#include "platform/serialport.h"

namespace proglink {

// Readies the port for a command on port number `port`: 9600 baud, one character per read,
// open (if it is not), nothing stale in the input. PortError reaches the caller.
void preparePort(platform::SerialPort &serial, int port);

// Applies the line settings and opens the port if needed; no flush.
void openPort(platform::SerialPort &serial, int port);

// Closes the port when it is open. A failure here changes nothing for the user: the command
// has already reported its outcome, so it is ignored.
void closeQuietly(platform::SerialPort &serial);

} // namespace proglink
