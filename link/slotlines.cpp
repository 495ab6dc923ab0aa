#include "link/slotlines.h"

#include "link/characterwait.h"

namespace proglink {

namespace {

// Slot line layout: slot number 1-3, serial number 5-12, auxiliary word 14-17.
constexpr int SlotFieldLength = 3;
constexpr int SerialStart = 4;
constexpr int SerialLength = 8;
constexpr int AuxiliaryStart = 13;
constexpr int AuxiliaryLength = 4;

// The slot named by a line, or 0 when its slot field is not a decimal slot number.
int slotNumber(const QString &line) {
    const QString field = line.left(SlotFieldLength);
    if (field.isEmpty())
        return 0;
    for (const QChar c : field)
        if (c < u'0' || c > u'9')
            return 0;
    const int slot = field.toInt();
    return slot >= 1 && slot <= userdb::SlotCount ? slot : 0;
}

} // namespace

SlotLinesOutcome storeSlotLines(const ReplyBuffer &buffer, int count, userdb::RecordStore &store) {
    QString line;
    for (int i = 1; i <= count - 1; ++i) {
        line.append(QChar::fromLatin1(buffer.at(i)));
        if (buffer.at(i + 1) != CarriageReturn)
            continue;
        ++i; // step over the CR
        if (line == u"?")
            return SlotLinesOutcome::ReadError;
        if (line.compare(u"OK", Qt::CaseInsensitive) != 0) {
            if (const int slot = slotNumber(line)) {
                store.setCell(slot, userdb::SerialNumber, line.mid(SerialStart, SerialLength));
                store.setCell(slot, userdb::AuxiliaryWord,
                              line.mid(AuxiliaryStart, AuxiliaryLength));
            }
        }
        line.clear();
    }
    return SlotLinesOutcome::Complete;
}

} // namespace proglink
