#pragma once

#include "link/device.h"
#include "link/linkcontext.h"
#include "link/replybuffer.h"
#include "userdb/recordstore.h"

namespace proglink {

enum class DownloadOutcome { Complete, Failed };

// Reads the slot list of the receiver or the tag on `port` into `store` (a fresh one, which the
// caller takes over only on Complete): serial number and auxiliary word of every slot the
// programmer reports. Complete needs a reply with at least one slot line that ended in silence
// within the overall limit of 60 seconds; lines that could not be read are skipped and told in
// the status text. Shows its progress; on Failed the error message has been shown and the
// progress bar hidden, on Complete the bar stays at its end for the caller to hide. A PortError
// while preparing the port reaches the caller (with the bar hidden).
DownloadOutcome downloadMemory(LinkContext &context, ProgrammerView &view, int port, Device device,
                               ReplyBuffer &buffer, userdb::RecordStore &store);

} // namespace proglink
