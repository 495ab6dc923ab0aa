#pragma once

#include "link/device.h"
#include "link/linkcontext.h"
#include "link/replybuffer.h"
#include "userdb/recordstore.h"

namespace proglink {

enum class DownloadOutcome { Complete, Failed };

// Reads the slot list of the receiver or the tag on `port` into `store` (which the caller has
// emptied): serial number and auxiliary word of every slot the programmer reports. Shows its
// progress; on Failed the error message has been shown and the progress bar hidden, on
// Complete the bar stays at its end for the caller to hide. A PortError while preparing the
// port reaches the caller (with the bar hidden).
DownloadOutcome downloadMemory(LinkContext &context, ProgrammerView &view, int port, Device device,
                               ReplyBuffer &buffer, userdb::RecordStore &store);

} // namespace proglink
