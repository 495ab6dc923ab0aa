#pragma once

#include "link/device.h"
#include "link/linkcontext.h"
#include "userdb/recordstore.h"

namespace proglink {

// How many slots an upload writes: 85 for an 85-slot receiver or tag, otherwise 340.
int memorySlotsFor(Device device, bool rx85Selected, bool tag85Selected);

// Programs slots 1 to memorySlots of `store` (serial number and auxiliary word) into the
// receiver or the tag on `port`, one acknowledged command per slot, stopping at the first slot
// that is not acknowledged. Shows its progress and one message box; returns whether every slot
// was acknowledged. Values that cannot be sent (findUnsendableValues) refuse the whole upload
// with one box listing them, before the port is touched. A PortError while preparing the port
// reaches the caller.
bool uploadMemory(LinkContext &context, ProgrammerView &view, int port, Device device,
                  int memorySlots, const userdb::RecordStore &store);

} // namespace proglink
