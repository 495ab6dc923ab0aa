#include "literalreference.h"

#include <functional>

using namespace userdb;

namespace literal {

namespace {

constexpr int Rows = 340;

bool equalText(const QString &a, const QString &b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Repeats passes over rows 1..339 until one makes no swap; returns the pass count.
int passesUntilSettled(RecordStore &table, const std::function<bool(int)> &mustSwap) {
    int passes = 0;
    bool swapped = true;
    while (swapped) {
        swapped = false;
        ++passes;
        for (int i = 1; i < Rows; ++i) {
            if (mustSwap(i)) {
                table.swapRecords(i, i + 1);
                swapped = true;
            }
        }
    }
    return passes;
}

} // namespace

int bubbleSort(RecordStore &store, int keyColumn) {
    RecordStore scratch;
    for (int s = 1; s <= Rows; ++s)
        scratch.setRecord(s, store.record(s));
    auto key = [&](int row) -> const QString & { return scratch.cell(row, keyColumn); };
    auto serial = [&](int row) -> const QString & { return scratch.cell(row, SerialNumber); };

    const int passes = passesUntilSettled(
        scratch, [&](int i) { return key(i).compare(key(i + 1), Qt::CaseInsensitive) > 0; });
    passesUntilSettled(scratch, [&](int i) { return key(i).isEmpty() && !key(i + 1).isEmpty(); });
    passesUntilSettled(scratch,
                       [&](int i) { return serial(i).isEmpty() && !serial(i + 1).isEmpty(); });

    for (int s = 1; s <= Rows; ++s)
        store.setRecord(s, scratch.record(s));
    return passes;
}

void merge(RecordStore &store, const RecordStore &buffer, bool deleteMissing, bool addExtra) {
    if (deleteMissing) {
        for (int i = 1; i <= SlotCount; ++i) {
            if (store.cell(i, SerialNumber).isEmpty())
                continue;
            bool found = false;
            for (int j = 1; j <= SlotCount && !found; ++j)
                found = equalText(buffer.cell(j, SerialNumber), store.cell(i, SerialNumber));
            if (!found)
                store.setRecord(i, Record{});
        }
    }
    if (addExtra) {
        for (int i = 1; i <= SlotCount; ++i) {
            const QString &serial = buffer.cell(i, SerialNumber);
            if (serial.isEmpty())
                continue;
            bool found = false;
            for (int j = 1; j <= SlotCount && !found; ++j)
                found = equalText(store.cell(j, SerialNumber), serial);
            if (found)
                continue;
            for (int j = 1; j <= SlotCount; ++j) {
                if (store.isFree(j)) {
                    store.setRecord(j, buffer.record(i));
                    break;
                }
            }
        }
    }
}

} // namespace literal
