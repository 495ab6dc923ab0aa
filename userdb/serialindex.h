#pragma once

#include "userdb/recordstore.h"

#include <QHash>
#include <QList>
#include <QString>
#include <vector>

namespace userdb {

// Whether `serial` names a fob: empty text and "00000000" (in any letter case) do not.
bool isFobSerial(const QString &serial);

// Which slots hold each serial number, letter case ignored, so that "which slot has fob X"
// and "which fobs are enrolled twice" need no scan of the store.
class SerialIndex {
public:
    SerialIndex();

    // Indexes column 1 of every slot of `store`.
    void rebuild(const RecordStore &store);
    // Slot `slot` now holds `serial`. Returns the other slots whose fellow holders changed
    // (those of the serial it left and of the serial it joined), ascending.
    QList<int> update(int slot, const QString &serial);

    // The slots holding `serial`, ascending; none for text that names no fob.
    const QList<int> &slotsWith(const QString &serial) const;
    // As slotsWith, without `slot`.
    QList<int> otherSlotsWith(const QString &serial, int slot) const;
    // Whether another slot holds the serial of `slot`.
    bool isDuplicated(int slot) const;

private:
    static QString keyOf(const QString &serial);
    const QList<int> &slotsWithKey(const QString &key) const;

    QHash<QString, QList<int>> m_slotsByKey;
    std::vector<QString> m_keyOfSlot; // slot - 1 -> the key it is indexed under, empty for none
};

} // namespace userdb
