#pragma once

#include "link/replybuffer.h"
#include "userdb/recordstore.h"

namespace proglink {

enum class SlotLinesOutcome { Complete, ReadError };

// Cuts the first `count` received characters into CR-ended lines and writes each slot line's
// serial number and auxiliary word into its slot. Lines "OK" are skipped, as are lines whose
// slot field is not a slot number; a line "?" (the programmer's read error) stops the work.
// Characters after the last CR are dropped.
SlotLinesOutcome storeSlotLines(const ReplyBuffer &buffer, int count, userdb::RecordStore &store);

} // namespace proglink
