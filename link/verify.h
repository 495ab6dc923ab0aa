#pragma once

#include "link/compare.h"

namespace proglink {

// Checks a receiver or tag just programmed from `database` (after "Data downloaded OK"; a
// program that failed is not worth reading back): reads it and compares slots 1 to
// memorySlots. When every slot matches, the status text says "Verified: the receiver matches
// the database" (or the tag); the caller shows the differences when the outcome is Differs.
// A failed read has shown its error message; a read the user stopped gives Cancelled and
// shows nothing. A PortError while preparing the port reaches the caller.
Comparison verifyProgrammed(LinkContext &context, ProgrammerView &view, int port, Device device,
                            int memorySlots, ReplyBuffer &buffer,
                            const userdb::RecordStore &database);

QString verifiedText(Device device);

} // namespace proglink
