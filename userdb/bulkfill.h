#pragma once

#include "userdb/recordstore.h"

#include <QString>

namespace userdb {

struct BulkFillResult {
    bool changed = false;
    int lastSlot = 0; // the last slot written, the one to show
    QString error;    // why nothing was written; empty when the fill ran or had nothing to do
};

// Writes a run of consecutive serials, starting at the hexadecimal `startText` (padded on the
// left with "0" to 8 digits), into column 1 of slots 1 to the count. The count is a decimal
// number cut down to its whole part; below 1 does nothing. A count that is not a number or is
// above `maxCount`, a start that is not hexadecimal capitals, and a run that would pass
// FFFFFFFF are refused with an error and change nothing.
BulkFillResult bulkFill(RecordStore &store, const QString &startText, const QString &countText,
                        int maxCount = 340);

} // namespace userdb
