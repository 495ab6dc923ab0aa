#pragma once

#include "link/replybuffer.h"
#include "userdb/recordstore.h"

namespace proglink {

enum class SlotLinesOutcome { Complete, ReadError };

struct SlotLinesResult {
    SlotLinesOutcome outcome = SlotLinesOutcome::Complete;
    int slotsRead = 0;       // slots named by the slot lines stored (each slot counted once)
    int unreadableLines = 0; // lines that are neither slot lines, "OK" nor empty
    bool endsWithAcknowledgement = false; // the last line (empty lines aside) is "OK"
};

// Cuts the first `count` received characters into CR-ended lines (an LF right after the CR
// belongs to the line end) and writes each slot line's serial number and auxiliary word into
// its slot. Empty lines and lines "OK" are skipped; a line whose slot field is not a slot
// number, or whose values hold a double quote (which the database file could not hold), is
// skipped and counted; a line "?" (the programmer's read error) stops the work. Characters
// after the last CR are dropped.
SlotLinesResult storeSlotLines(const ReplyBuffer &buffer, int count, userdb::RecordStore &store);

} // namespace proglink
