#pragma once

#include "userdb/recordstore.h"

namespace userdb {

struct MergeOptions {
    bool deleteMissing = false; // empty every entry of the store that the buffer lacks
    bool addExtra = false;      // copy every entry of the buffer that the store lacks
};

// Brings `store` into line with `mergeBuffer` (a second database file read into a store).
// An entry is a slot whose serial is not empty; serials match ignoring letter case. Deleting
// runs first and empties all 13 columns in place. Adding copies the buffer slot whole into the
// lowest free slot (all 13 columns empty) and drops the entry silently when none is left; an
// entry once added counts as present, so a serial that the buffer holds twice is added once.
// Entries present in both keep the store's owner details.
void mergeDatabases(RecordStore &store, const RecordStore &mergeBuffer, MergeOptions options);

} // namespace userdb
