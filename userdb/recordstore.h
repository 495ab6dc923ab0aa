#pragma once

#include <QString>
#include <array>
#include <vector>

namespace userdb {

// Columns of a record, numbered from 1 as in the database file.
enum Column : int {
    SerialNumber = 1,
    AuxiliaryWord,
    Surname,
    OtherNames,
    Address1,
    Address2,
    Suburb,
    State,
    PostCode,
    Telephone,
    Mobile,
    OtherDetail1,
    OtherDetail2,
};

constexpr int ColumnCount = 13;
constexpr int SlotCount = 4095;
// The serial number that, like the empty text, means no fob occupies the slot.
inline const QString NoSerialNumber = QStringLiteral("00000000");

using Record = std::array<QString, ColumnCount>;

// 4095 slots of 13 text columns, slots and columns numbered from 1. Also the shape of the
// merge buffer and of the sort's scratch table.
class RecordStore {
public:
    RecordStore()
        : m_records(SlotCount) {}

    const QString &cell(int slot, int column) const { return m_records[index(slot)][column - 1]; }
    void setCell(int slot, int column, const QString &text) {
        m_records[index(slot)][column - 1] = text;
    }
    const Record &record(int slot) const { return m_records[index(slot)]; }
    void setRecord(int slot, const Record &record) { m_records[index(slot)] = record; }
    void swapRecords(int slotA, int slotB) {
        m_records[index(slotA)].swap(m_records[index(slotB)]);
    }

    // Sets every column of every slot to empty text.
    void clear();
    // A free slot: all 13 columns empty.
    bool isFree(int slot) const;
    // A used slot: a serial number that is neither empty nor "00000000".
    bool isUsed(int slot) const;

private:
    static std::size_t index(int slot) { return std::size_t(slot - 1); }
    std::vector<Record> m_records;
};

// Number of used slots over all 4095, whatever capacity is in use.
int usedSlotCount(const RecordStore &store);

} // namespace userdb
