#pragma once

#include "userdb/recordstore.h"

// Step-by-step versions of the sort and the merge, written as plainly as their description,
// against which the fast versions are checked on random databases.
namespace literal {

// Three rounds of bubble-sort passes over slots 1 to 340: by key, empty keys last, empty serials
// last.
void bubbleSort(userdb::RecordStore &store, int keyColumn);

// Delete pass and add pass by linear scans of all 4095 slots.
void merge(userdb::RecordStore &store, const userdb::RecordStore &buffer, bool deleteMissing,
           bool addExtra);

} // namespace literal
