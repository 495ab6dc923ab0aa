#include "link/slotlines.h"

#include "link/characterwait.h"
#include "userdb/textcodec.h"

namespace proglink {

namespace {

// Slot line layout: slot number 1-3, serial number 5-12, auxiliary word 14-17.
constexpr int SlotFieldLength = 3;
constexpr int SerialStart = 4;
constexpr int SerialLength = 8;
constexpr int AuxiliaryStart = 13;
constexpr int AuxiliaryLength = 4;

// The slot named by a line, or 0 when its slot field is not a decimal slot number.
int slotNumber(const QByteArray &line) {
    const QByteArray field = line.left(SlotFieldLength);
    if (field.isEmpty())
        return 0;
    for (const char c : field)
        if (c < '0' || c > '9')
            return 0;
    const int slot = field.toInt();
    return slot >= 1 && slot <= userdb::SlotCount ? slot : 0;
}

} // namespace

SlotLinesOutcome storeSlotLines(const ReplyBuffer &buffer, int count, userdb::RecordStore &store) {
    QByteArray line;
    for (int i = 1; i <= count - 1; ++i) {
        line.append(buffer.at(i));
        if (buffer.at(i + 1) != CarriageReturn)
            continue;
        ++i; // step over the CR
        if (line == "?")
            return SlotLinesOutcome::ReadError;
        if (line.compare("OK", Qt::CaseInsensitive) != 0) {
            if (const int slot = slotNumber(line)) {
                // Decoded as the database file is, so saving it writes back the same bytes.
                store.setCell(slot, userdb::SerialNumber,
                              userdb::decodeWindows1252(line.mid(SerialStart, SerialLength)));
                store.setCell(slot, userdb::AuxiliaryWord,
                              userdb::decodeWindows1252(line.mid(AuxiliaryStart, AuxiliaryLength)));
            }
        }
        line.clear();
    }
    return SlotLinesOutcome::Complete;
}

} // namespace proglink
