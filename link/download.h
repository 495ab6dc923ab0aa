#pragma once

#include "link/device.h"
#include "link/linkcontext.h"
#include "link/replybuffer.h"
#include "userdb/recordstore.h"

namespace proglink {

enum class DownloadOutcome { Complete, Failed, Cancelled };

// Reads the slot list of the receiver or the tag on `port` into `store` (a fresh one, which the
// caller takes over only on Complete): serial number and auxiliary word of every slot the
// programmer reports. Complete needs a reply that ended in silence within the overall limit of
// 60 seconds and holds at least one slot line, or nothing but its final "OK" (an empty memory:
// Complete with no slot, told in the status text); lines that could not be read are skipped and
// told in the status text. Shows its progress; on Failed the error message has been shown and
// the progress bar hidden, on Complete the bar stays at its end for the caller to hide.
// The context's cancellation stops it (before the command goes out or while the reply comes):
// Cancelled, with the port closed, the bar hidden, no message and `store` to be dropped.
// A PortError while preparing the port reaches the caller (with the bar hidden).
DownloadOutcome downloadMemory(LinkContext &context, ProgrammerView &view, int port, Device device,
                               ReplyBuffer &buffer, userdb::RecordStore &store);

} // namespace proglink
