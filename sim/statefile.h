#pragma once

#include "sim/slotmemory.h"

#include <QString>

namespace sim {

// The receiver and tag memories in a text file, so that a programmer keeps its memories
// between runs:
//   size receiver 340
//   size tag 85
//   slot receiver 7 0000001A 0000
// Only slots that are not empty are listed. Lines starting with '#' are comments.

// Reads the file into the memories; an error text (the memories unchanged) on failure.
QString loadState(const QString &path, SlotMemory &receiver, SlotMemory &tag);
// Writes the memories, replacing the file only once the new one is complete.
QString saveState(const QString &path, const SlotMemory &receiver, const SlotMemory &tag);

} // namespace sim
