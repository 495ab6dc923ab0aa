#pragma once

#include <QByteArray>
#include <QList>

namespace sim {

// One slot of a receiver or tag memory. An empty slot holds zeros.
struct Slot {
    QByteArray serial = "00000000";
    QByteArray aux = "0000";

    bool isEmpty() const { return serial == "00000000" && aux == "0000"; }
    bool operator==(const Slot &) const = default;
};

// A receiver's or tag's serial EEPROM: 85 or 340 numbered slots, from 1.
class SlotMemory {
public:
    static constexpr int SmallSize = 85;
    static constexpr int LargeSize = 340;

    int size() const { return int(m_slots.size()); }
    // Keeps the slots up to the new size; added slots are empty.
    void setSize(int size);
    bool contains(int number) const { return number >= 1 && number <= size(); }
    // The slot `number` (1-based); an empty slot when out of range.
    Slot slot(int number) const;
    // False (and nothing changes) when the slot is out of range.
    bool setSlot(int number, const Slot &slot);
    void clear();
    // Takes the other memory's slots up to this memory's size; this size stays.
    void copyFrom(const SlotMemory &other);
    bool operator==(const SlotMemory &) const = default;

private:
    QList<Slot> m_slots = QList<Slot>(LargeSize);
};

} // namespace sim
