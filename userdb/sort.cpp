#include "userdb/sort.h"

#include <algorithm>
#include <vector>

namespace userdb {

void sortSlots(RecordStore &store, int keyColumn) {
    const std::size_t key = std::size_t(keyColumn - 1);
    const std::size_t serial = std::size_t(SerialNumber - 1);
    // Records without a serial come last, then records with an empty key within each half.
    auto group = [&](const Record &r) {
        return (r[serial].isEmpty() ? 2 : 0) + (r[key].isEmpty() ? 1 : 0);
    };

    std::vector<Record> records;
    records.reserve(SortedSlotCount);
    for (int slot = 1; slot <= SortedSlotCount; ++slot)
        records.push_back(store.record(slot));

    // Plain case-folded comparison, character by character (so "10" sorts before "9").
    std::stable_sort(records.begin(), records.end(), [&](const Record &a, const Record &b) {
        const int groupA = group(a);
        const int groupB = group(b);
        if (groupA != groupB)
            return groupA < groupB;
        return a[key].compare(b[key], Qt::CaseInsensitive) < 0;
    });

    for (int slot = 1; slot <= SortedSlotCount; ++slot)
        store.setRecord(slot, records[std::size_t(slot - 1)]);
}

} // namespace userdb
