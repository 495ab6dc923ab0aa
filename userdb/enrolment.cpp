#include "userdb/enrolment.h"

#include "platform/clock.h"
#include "userdb/capturedserial.h"
#include "userdb/opendatabase.h"

#include <algorithm>

namespace userdb {

QString EnrolmentResult::text() const {
    switch (kind) {
    case Enrolled:
        return QStringLiteral("Slot %1").arg(slot);
    case AlreadyHeld:
        return QStringLiteral("already in slot %1").arg(slot);
    case NoFreeSlot:
        break;
    }
    return QStringLiteral("No free slot");
}

QString UndoneEnrolment::text() const {
    return changedSince ? QStringLiteral("Slot %1 changed since: left as it is").arg(slot)
                        : QStringLiteral("Slot %1 undone").arg(slot);
}

QString enrolledCountText(int count) {
    return QStringLiteral("%1 fobs enrolled").arg(count);
}

Enrolment::Enrolment(OpenDatabase &database, int slotCount, const platform::Clock &clock,
                     QObject *parent)
    : QObject(parent)
    , m_database(database)
    , m_slotCount(std::clamp(slotCount, 0, SlotCount))
    , m_clock(clock) {
    // Load, New, Read, Sort, Merge and Bulk put other records into the slots: an undo would
    // then overwrite someone else's fob.
    connect(&m_database, &OpenDatabase::recordsChanged, this, &Enrolment::forgetHistory);
}

int Enrolment::nextFreeSlot() const {
    for (int slot = 1; slot <= m_slotCount; ++slot) {
        if (isFobSerial(m_database.cell(slot, SerialNumber)))
            continue;
        bool ownerless = true;
        for (int column = Surname; column <= OtherDetail2 && ownerless; ++column)
            ownerless = m_database.cell(slot, column).isEmpty();
        if (ownerless)
            return slot;
    }
    return 0;
}

bool Enrolment::heardJustNow(const QString &serial) {
    const double now = m_clock.now();
    // Only the recent ones matter; the rest would only grow with every fob presented.
    m_heard.removeIf([now](const auto &entry) { return now - entry.value() >= RepeatSeconds; });
    const bool repeated = m_heard.contains(serial);
    m_heard.insert(serial, now);
    return repeated;
}

std::optional<EnrolmentResult> Enrolment::takeLine(const QString &line) {
    if (m_full)
        return std::nullopt;
    const QString serial = capturedSerial(line); // in capitals
    if (!isFobSerial(serial) || heardJustNow(serial))
        return std::nullopt;

    if (const QList<int> &holders = m_database.serials().slotsWith(serial); !holders.isEmpty())
        return EnrolmentResult{EnrolmentResult::AlreadyHeld, serial, holders.first()};
    const int slot = nextFreeSlot();
    if (slot == 0) {
        m_full = true;
        return EnrolmentResult{EnrolmentResult::NoFreeSlot, serial, 0};
    }
    m_history.append({slot, m_database.cell(slot, SerialNumber), serial});
    ++m_enrolledCount;
    m_database.setCell(slot, SerialNumber, serial);
    return EnrolmentResult{EnrolmentResult::Enrolled, serial, slot};
}

std::optional<UndoneEnrolment> Enrolment::undoLast() {
    if (m_history.isEmpty())
        return std::nullopt;
    const Enrolled last = m_history.takeLast();
    --m_enrolledCount;
    // A serial typed over the enrolled one since is the user's: keep it.
    const bool changedSince =
        m_database.cell(last.slot, SerialNumber).compare(last.serial, Qt::CaseInsensitive) != 0;
    if (!changedSince)
        m_database.setCell(last.slot, SerialNumber, last.previousSerial);
    return UndoneEnrolment{last.slot, last.serial, changedSince};
}

void Enrolment::forgetHistory() {
    m_history.clear();
}

} // namespace userdb
