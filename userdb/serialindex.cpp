#include "userdb/serialindex.h"

#include <algorithm>

namespace userdb {

bool isFobSerial(const QString &serial) {
    return !serial.isEmpty() && serial.compare(NoSerialNumber, Qt::CaseInsensitive) != 0;
}

SerialIndex::SerialIndex()
    : m_keyOfSlot(SlotCount) {}

QString SerialIndex::keyOf(const QString &serial) {
    return isFobSerial(serial) ? serial.toCaseFolded() : QString();
}

void SerialIndex::rebuild(const RecordStore &store) {
    m_slotsByKey.clear();
    for (int slot = 1; slot <= SlotCount; ++slot) {
        QString key = keyOf(store.cell(slot, SerialNumber));
        if (!key.isEmpty())
            m_slotsByKey[key].append(slot); // slots come in ascending order
        m_keyOfSlot[std::size_t(slot - 1)] = std::move(key);
    }
}

QList<int> SerialIndex::update(int slot, const QString &serial) {
    QString &indexedKey = m_keyOfSlot[std::size_t(slot - 1)];
    QString key = keyOf(serial);
    if (key == indexedKey)
        return {};

    QList<int> affected;
    if (!indexedKey.isEmpty()) {
        const auto left = m_slotsByKey.find(indexedKey);
        left->removeOne(slot);
        affected = *left;
        if (left->isEmpty())
            m_slotsByKey.erase(left);
    }
    if (!key.isEmpty()) {
        QList<int> &joined = m_slotsByKey[key];
        affected += joined;
        joined.insert(std::lower_bound(joined.begin(), joined.end(), slot) - joined.begin(), slot);
    }
    indexedKey = std::move(key);
    std::sort(affected.begin(), affected.end());
    return affected;
}

const QList<int> &SerialIndex::slotsWithKey(const QString &key) const {
    static const QList<int> none;
    if (key.isEmpty())
        return none;
    const auto found = m_slotsByKey.constFind(key);
    return found == m_slotsByKey.constEnd() ? none : *found;
}

const QList<int> &SerialIndex::slotsWith(const QString &serial) const {
    return slotsWithKey(keyOf(serial));
}

QList<int> SerialIndex::otherSlotsWith(const QString &serial, int slot) const {
    QList<int> others = slotsWith(serial);
    others.removeOne(slot);
    return others;
}

bool SerialIndex::isDuplicated(int slot) const {
    if (slot < 1 || slot > SlotCount)
        return false;
    return slotsWithKey(m_keyOfSlot[std::size_t(slot - 1)]).size() > 1;
}

} // namespace userdb
