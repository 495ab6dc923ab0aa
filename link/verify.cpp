#include "link/verify.h"

namespace proglink {

QString verifiedText(Device device) {
    return device == Device::Receiver
               ? QStringLiteral("Verified: the receiver matches the database")
               : QStringLiteral("Verified: the tag matches the database");
}

Comparison verifyProgrammed(LinkContext &context, ProgrammerView &view, int port, Device device,
                            int memorySlots, ReplyBuffer &buffer,
                            const userdb::RecordStore &database) {
    Comparison comparison =
        readAndCompare(context, view, port, device, memorySlots, buffer, database);
    if (comparison.outcome == ComparisonOutcome::Matches)
        view.setStatusText(verifiedText(device));
    return comparison;
}

} // namespace proglink
