#pragma once

#include "userdb/recordstore.h"
#include "userdb/serialindex.h"

#include <QObject>
#include <functional>

namespace userdb {

// The records of the open database, owned by the window, with the announcements that views
// (the user list) need to follow them. Every change of the window's records goes through here.
class OpenDatabase : public QObject {
    Q_OBJECT
public:
    explicit OpenDatabase(QObject *parent = nullptr);

    const RecordStore &records() const { return m_records; }
    const QString &cell(int slot, int column) const { return m_records.cell(slot, column); }
    // Which slots hold each serial, always in step with the records.
    const SerialIndex &serials() const { return m_serials; }
    // The slots other than `slot` that hold `serial` (letter case ignored), ascending.
    QList<int> otherSlotsWithSerial(const QString &serial, int slot) const {
        return m_serials.otherSlotsWith(serial, slot);
    }

    // One cell, as typed into the slot editor. Announced only when the text really changes;
    // a slot or column out of range changes nothing.
    void setCell(int slot, int column, const QString &text);
    // A change of many slots at once (sort, merge, bulk fill, download): `change` edits the
    // records in place, then one recordsChanged follows, even when `change` throws.
    void changeRecords(const std::function<void(RecordStore &)> &change);
    // Every record replaced (Load, import, a store read elsewhere) or emptied (New); one
    // recordsChanged.
    void replaceRecords(RecordStore records);
    void clearRecords();

signals:
    void cellChanged(int slot, int column);
    // The serial edit announced just before changed which other slots share a serial with
    // the slots `peers` (ascending): their notes of duplicates change.
    void serialPeersChanged(const QList<int> &peers);
    // Any number of records changed: whatever was derived from them is to be rebuilt.
    void recordsChanged();

private:
    void announceAllChanged();

    RecordStore m_records;
    SerialIndex m_serials;
};

} // namespace userdb
