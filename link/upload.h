#pragma once

#include "link/device.h"
#include "link/linkcontext.h"
#include "userdb/recordstore.h"

namespace proglink {

// How many slots an upload writes: 85 for an 85-slot receiver or tag, otherwise 340.
int memorySlotsFor(Device device, bool rx85Selected, bool tag85Selected);

// Refused: values that cannot be sent; nothing went out. Cancelled: the user stopped it.
enum class UploadOutcome { Complete, Failed, Refused, Cancelled };

struct UploadResult {
    UploadOutcome outcome = UploadOutcome::Failed;
    int slotsSent = 0; // slots whose write command went out: the device may hold them
    int memorySlots = 0;
    // Whether every slot was acknowledged. Not explicit: callers written when the upload
    // returned a bool keep working.
    operator bool() const { return outcome == UploadOutcome::Complete; }
};

// Programs slots 1 to memorySlots of `store` (serial number and auxiliary word) into the
// receiver or the tag on `port`, one acknowledged command per slot, stopping at the first slot
// that is not acknowledged. Shows its progress and one message box. Values that cannot be sent
// (findUnsendableValues) refuse the whole upload with one box listing them, before the port is
// touched. The context's cancellation stops it between slots or while a slot waits for its
// acknowledgement: once slots have gone out the box says how many ("Programming cancelled
// after 12 of 340 slots: ..."); cancelled before the first, it shows nothing. The port is
// closed and the bar hidden on every path but a PortError while preparing the port, which
// reaches the caller.
UploadResult uploadMemory(LinkContext &context, ProgrammerView &view, int port, Device device,
                          int memorySlots, const userdb::RecordStore &store);

// "Programming cancelled after 12 of 340 slots: the receiver now holds a mix of old and new
// slots" (or the tag).
QString programmingCancelledText(Device device, int slotsSent, int memorySlots);

} // namespace proglink
