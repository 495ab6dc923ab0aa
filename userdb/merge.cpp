#include "userdb/merge.h"

#include <QSet>

namespace userdb {

namespace {

// Case-folded, so that two serials have the same key exactly when a case-insensitive
// comparison finds them equal.
QString matchKey(const QString &serial) {
    return serial.toCaseFolded();
}

QSet<QString> serialsOf(const RecordStore &store) {
    QSet<QString> serials;
    for (int slot = 1; slot <= SlotCount; ++slot) {
        const QString &serial = store.cell(slot, SerialNumber);
        if (!serial.isEmpty())
            serials.insert(matchKey(serial));
    }
    return serials;
}

void deleteMissing(RecordStore &store, const QSet<QString> &bufferSerials) {
    const Record empty{};
    for (int slot = 1; slot <= SlotCount; ++slot) {
        const QString &serial = store.cell(slot, SerialNumber);
        if (!serial.isEmpty() && !bufferSerials.contains(matchKey(serial)))
            store.setRecord(slot, empty);
    }
}

void addExtra(RecordStore &store, const RecordStore &mergeBuffer) {
    QSet<QString> storeSerials = serialsOf(store);
    // Free slots are only ever filled here, so the lowest free slot only moves up.
    int freeSlot = 1;
    for (int slot = 1; slot <= SlotCount; ++slot) {
        const QString &serial = mergeBuffer.cell(slot, SerialNumber);
        if (serial.isEmpty())
            continue;
        const QString key = matchKey(serial);
        if (storeSerials.contains(key))
            continue;
        while (freeSlot <= SlotCount && !store.isFree(freeSlot))
            ++freeSlot;
        if (freeSlot > SlotCount)
            return; // full: this and every later extra entry is dropped
        store.setRecord(freeSlot, mergeBuffer.record(slot));
        storeSerials.insert(key);
    }
}

} // namespace

void mergeDatabases(RecordStore &store, const RecordStore &mergeBuffer, MergeOptions options) {
    if (options.deleteMissing)
        deleteMissing(store, serialsOf(mergeBuffer));
    if (options.addExtra)
        addExtra(store, mergeBuffer);
}

} // namespace userdb
