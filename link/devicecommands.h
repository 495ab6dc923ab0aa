#pragma once

#include "link/linkcontext.h"

namespace proglink {

enum class DeviceCommand { ClearReceiver, ClearTag, CopyReceiverToTag, CopyTagToReceiver };

// Clears a memory or copies one memory into the other inside the programmer on `port`, with
// its message box. Returns whether the programmer acknowledged. A PortError while preparing
// the port reaches the caller.
bool runDeviceCommand(LinkContext &context, int port, DeviceCommand command);

} // namespace proglink
