#pragma once

#include "userdb/recordstore.h"

namespace userdb {

// Slots that the sort reorders: the receiver's capacity, not the whole store.
constexpr int SortedSlotCount = 340;

// Reorders slots 1 to 340 by the text of `keyColumn`, ignoring letter case, records moving
// whole. Order: serial and key, by key; serial but empty key; no serial but key, by key; neither.
// Records whose keys compare equal keep their order. Slots above 340 are never touched.
// "No serial" means an empty serial; "00000000" is a serial here.
void sortSlots(RecordStore &store, int keyColumn);

} // namespace userdb
