#include "userdb/recordstore.h"

#include <algorithm>

namespace userdb {

void RecordStore::clear() {
    for (Record &record : m_records)
        for (QString &cell : record)
            cell.clear();
}

bool RecordStore::isFree(int slot) const {
    const Record &r = record(slot);
    return std::all_of(r.begin(), r.end(), [](const QString &cell) { return cell.isEmpty(); });
}

bool RecordStore::isUsed(int slot) const {
    const QString &serial = cell(slot, SerialNumber);
    return !serial.isEmpty() && serial.compare(NoSerialNumber, Qt::CaseInsensitive) != 0;
}

int usedSlotCount(const RecordStore &store) {
    int count = 0;
    for (int slot = 1; slot <= SlotCount; ++slot)
        count += store.isUsed(slot) ? 1 : 0;
    return count;
}

} // namespace userdb
