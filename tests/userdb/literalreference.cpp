#include "literalreference.h"

#include <functional>

using namespace userdb;

namespace literal {

namespace {

bool holds(const RecordStore &store, const QString &serial) {
    for (int j = 1; j <= SlotCount; ++j)
        if (store.cell(j, SerialNumber).compare(serial, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// Repeats passes over slots 1..340 until one makes no swap.
void passUntilSettled(RecordStore &store, const std::function<bool(int)> &mustSwap) {
    for (bool swapped = true; swapped;) {
        swapped = false;
        for (int i = 1; i < 340; ++i) {
            if (mustSwap(i)) {
                store.swapRecords(i, i + 1);
                swapped = true;
            }
        }
    }
}

} // namespace

void bubbleSort(RecordStore &store, int keyColumn) {
    auto key = [&](int slot) -> const QString & { return store.cell(slot, keyColumn); };
    auto serial = [&](int slot) -> const QString & { return store.cell(slot, SerialNumber); };
    passUntilSettled(store,
                     [&](int i) { return key(i).compare(key(i + 1), Qt::CaseInsensitive) > 0; });
    passUntilSettled(store, [&](int i) { return key(i).isEmpty() && !key(i + 1).isEmpty(); });
    passUntilSettled(store, [&](int i) { return serial(i).isEmpty() && !serial(i + 1).isEmpty(); });
}

void merge(RecordStore &store, const RecordStore &buffer, bool deleteMissing, bool addExtra) {
    for (int i = 1; i <= SlotCount && deleteMissing; ++i) {
        const QString &serial = store.cell(i, SerialNumber);
        if (!serial.isEmpty() && !holds(buffer, serial))
            store.setRecord(i, Record{});
    }
    for (int i = 1; i <= SlotCount && addExtra; ++i) {
        const QString &serial = buffer.cell(i, SerialNumber);
        if (serial.isEmpty() || holds(store, serial))
            continue;
        for (int j = 1; j <= SlotCount; ++j) {
            if (store.isFree(j)) {
                store.setRecord(j, buffer.record(i));
                break;
            }
        }
    }
}

} // namespace literal
