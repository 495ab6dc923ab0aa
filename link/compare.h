#pragma once

#include "link/device.h"
#include "link/linkcontext.h"
#include "link/replybuffer.h"
#include "userdb/recordstore.h"

#include <QList>
#include <QString>

namespace proglink {

// One slot whose device values are not what the database would program. Each value is the
// text as a write command sends it: an empty serial number is "00000000", an empty auxiliary
// word "0000".
struct SlotDifference {
    int slot = 0;
    QString databaseSerial;
    QString databaseAux;
    QString deviceSerial;
    QString deviceAux;
    bool operator==(const SlotDifference &) const = default;
};

// Every slot from 1 to slotCount where the serial numbers differ (ignoring letter case, as
// every serial number comparison does) or the auxiliary words differ (exactly: the device
// keeps them byte for byte), in slot order.
QList<SlotDifference> compareStores(const userdb::RecordStore &database,
                                    const userdb::RecordStore &device, int slotCount);

// "Receiver: 3 slots differ", "Tag: 1 slot differs", "Receiver: every slot matches".
QString comparisonSummary(qsizetype differenceCount, Device device);

// Cancelled: the user stopped the read; nothing has been shown and there is nothing to show.
enum class ComparisonOutcome { Matches, Differs, ReadFailed, Cancelled };

struct Comparison {
    ComparisonOutcome outcome = ComparisonOutcome::ReadFailed;
    QList<SlotDifference> differences; // empty unless Differs
};

// Reads the receiver or the tag on `port` exactly as Read does, into a store of its own, and
// compares slots 1 to slotCount with `database`, which is only read. A read that fails has
// shown its error message and gives ReadFailed; a read the user stopped gives Cancelled. The
// progress bar is hidden at the end on every path. A PortError while preparing the port reaches the
// caller.
Comparison readAndCompare(LinkContext &context, ProgrammerView &view, int port, Device device,
                          int slotCount, ReplyBuffer &buffer, const userdb::RecordStore &database);

} // namespace proglink
