#include "sim/slotmemory.h"

namespace sim {

void SlotMemory::setSize(int size) {
    m_slots.resize(size);
}

Slot SlotMemory::slot(int number) const {
    return contains(number) ? m_slots.at(number - 1) : Slot{};
}

bool SlotMemory::setSlot(int number, const Slot &slot) {
    if (!contains(number))
        return false;
    m_slots[number - 1] = slot;
    return true;
}

void SlotMemory::clear() {
    m_slots.fill(Slot{});
}

void SlotMemory::copyFrom(const SlotMemory &other) {
    for (int number = 1; number <= size(); ++number)
        m_slots[number - 1] = other.slot(number);
}

} // namespace sim
