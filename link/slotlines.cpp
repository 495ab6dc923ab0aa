#include "link/slotlines.h"

#include "link/characterwait.h"
#include "userdb/textcodec.h"

#include <vector>

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

class LineHandler {
public:
    explicit LineHandler(userdb::RecordStore &store)
        : m_store(store)
        , m_seen(std::size_t(userdb::SlotCount) + 1, false) {}

    // False once the programmer has reported a read error.
    bool handle(const QByteArray &line) {
        if (line == "?") {
            m_result.outcome = SlotLinesOutcome::ReadError;
            return false;
        }
        if (line.isEmpty())
            return true;
        m_result.endsWithAcknowledgement = line.compare("OK", Qt::CaseInsensitive) == 0;
        if (m_result.endsWithAcknowledgement)
            return true;
        const int slot = slotNumber(line);
        const QByteArray serial = line.mid(SerialStart, SerialLength);
        const QByteArray auxiliary = line.mid(AuxiliaryStart, AuxiliaryLength);
        // The database file quotes its fields without escaping: a quote would end the field.
        if (slot == 0 || serial.contains('"') || auxiliary.contains('"')) {
            ++m_result.unreadableLines;
            return true;
        }
        // Decoded as the database file is, so saving it writes back the same bytes.
        m_store.setCell(slot, userdb::SerialNumber, userdb::decodeWindows1252(serial));
        m_store.setCell(slot, userdb::AuxiliaryWord, userdb::decodeWindows1252(auxiliary));
        if (!m_seen[std::size_t(slot)]) {
            m_seen[std::size_t(slot)] = true;
            ++m_result.slotsRead;
        }
        return true;
    }

    SlotLinesResult result() const { return m_result; }

private:
    userdb::RecordStore &m_store;
    std::vector<bool> m_seen;
    SlotLinesResult m_result;
};

} // namespace

SlotLinesResult storeSlotLines(const ReplyBuffer &buffer, int count, userdb::RecordStore &store) {
    LineHandler handler(store);
    QByteArray line;
    bool afterLineEnd = false;
    for (int i = 1; i <= count; ++i) {
        const char c = buffer.at(i);
        if (c == CarriageReturn) {
            if (!handler.handle(line))
                break;
            line.clear();
            afterLineEnd = true;
            continue;
        }
        if (!(c == LineFeed && afterLineEnd))
            line.append(c);
        afterLineEnd = false;
    }
    return handler.result();
}

} // namespace proglink
