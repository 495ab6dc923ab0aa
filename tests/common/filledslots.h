#pragma once
// The records of a store as a test compares them.
#include "userdb/recordstore.h"

#include <QStringList>

// Each slot holding text as "slot:cell|cell|...", trailing empty cells left out.
inline QStringList filledSlots(const userdb::RecordStore &store) {
    QStringList list;
    for (int slot = 1; slot <= userdb::SlotCount; ++slot) {
        QStringList cells(store.record(slot).begin(), store.record(slot).end());
        if (cells.join(QString()).isEmpty())
            continue;
        while (cells.last().isEmpty())
            cells.removeLast();
        list << QString::number(slot) + ':' + cells.join('|');
    }
    return list;
}
