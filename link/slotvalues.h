#pragma once

#include "userdb/recordstore.h"

#include <QByteArray>
#include <QList>

namespace proglink {

// What a write command sends for one slot: the serial number ("00000000" when empty) and the
// auxiliary word ("0000" when empty), as the bytes that go on the line. They are Windows-1252,
// the code page the download decodes slot lines in and the database file keeps, so a value read
// from a device goes back to it byte for byte.
struct SlotValues {
    QByteArray serialNumber;
    QByteArray auxiliaryWord;
};

SlotValues slotValuesToSend(const userdb::RecordStore &store, int slot);

// A value that would not reach the programmer as data: a CR, LF, comma or other control byte
// in it would end or split the write command, and what followed would run as a command of its
// own ("K" clears the receiver).
struct UnsendableValue {
    enum class Field { SerialNumber, AuxiliaryWord };
    int slot;
    Field field;
    bool operator==(const UnsendableValue &) const = default;
};

// Every such value among slots 1 to memorySlots, in slot order, the serial number before the
// auxiliary word. Bytes 0x80 to 0xFF are data; values that are merely short or not
// hexadecimal pass.
QList<UnsendableValue> findUnsendableValues(const userdb::RecordStore &store, int memorySlots);

// One line per value, for the first ten:
// "Slot 1: the serial number holds characters that cannot be sent to the programmer".
QString describeUnsendableValues(const QList<UnsendableValue> &values);

} // namespace proglink
