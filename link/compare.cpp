#include "link/compare.h"

#include "link/download.h"
#include "link/slotvalues.h"
#include "userdb/textcodec.h"

#include <algorithm>
#include <memory>

namespace proglink {

namespace {

// A slot's values as a write command sends them, as text: an empty field and the zeros that
// a cleared device reports are then the same value.
struct SentValues {
    QString serial;
    QString aux;
};

SentValues sentValues(const userdb::RecordStore &store, int slot) {
    const SlotValues values = slotValuesToSend(store, slot);
    return {userdb::decodeWindows1252(values.serialNumber),
            userdb::decodeWindows1252(values.auxiliaryWord)};
}

} // namespace

QList<SlotDifference> compareStores(const userdb::RecordStore &database,
                                    const userdb::RecordStore &device, int slotCount) {
    QList<SlotDifference> differences;
    const int last = std::min(slotCount, userdb::SlotCount);
    for (int slot = 1; slot <= last; ++slot) {
        const SentValues expected = sentValues(database, slot);
        const SentValues held = sentValues(device, slot);
        if (expected.serial.compare(held.serial, Qt::CaseInsensitive) == 0 &&
            expected.aux == held.aux)
            continue;
        differences.append({slot, expected.serial, expected.aux, held.serial, held.aux});
    }
    return differences;
}

QString comparisonSummary(qsizetype differenceCount, Device device) {
    // The device comes first: the same window shows the receiver's and the tag's results.
    const QString name =
        device == Device::Receiver ? QStringLiteral("Receiver") : QStringLiteral("Tag");
    if (differenceCount == 1)
        return name + QStringLiteral(": 1 slot differs");
    if (differenceCount > 1)
        return QStringLiteral("%1: %2 slots differ").arg(name).arg(differenceCount);
    return name + QStringLiteral(": every slot matches");
}

Comparison readAndCompare(LinkContext &context, ProgrammerView &view, int port, Device device,
                          int slotCount, ReplyBuffer &buffer, const userdb::RecordStore &database) {
    // 4095 records are too many for the stack.
    const auto read = std::make_unique<userdb::RecordStore>();
    const DownloadOutcome outcome = downloadMemory(context, view, port, device, buffer, *read);
    if (outcome == DownloadOutcome::Cancelled)
        return {ComparisonOutcome::Cancelled, {}};
    if (outcome != DownloadOutcome::Complete)
        return {};
    view.hideProgress(); // nothing is saved: the read is over
    QList<SlotDifference> differences = compareStores(database, *read, slotCount);
    const ComparisonOutcome compared =
        differences.isEmpty() ? ComparisonOutcome::Matches : ComparisonOutcome::Differs;
    return {compared, std::move(differences)};
}

} // namespace proglink
