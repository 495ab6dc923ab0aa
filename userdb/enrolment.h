#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <optional>

namespace platform {
class Clock;
}

namespace userdb {

class OpenDatabase;

// What one fob presented during enrolment came to.
struct EnrolmentResult {
    enum Kind {
        Enrolled,    // its serial went into `slot`
        AlreadyHeld, // the database holds it already, in `slot` (the lowest that does)
        NoFreeSlot,  // no slot left for it: enrolment is over
    };
    Kind kind = Enrolled;
    QString serial; // in capitals
    int slot = 0;   // 0 for NoFreeSlot

    // "Slot 17", "already in slot 2" or "No free slot".
    QString text() const;
};

// What "Undo Last" did.
struct UndoneEnrolment {
    int slot = 0;
    QString serial; // the serial enrolled there
    // The slot no longer held that serial (it was edited since): it was left as it is.
    bool changedSince = false;

    // "Slot 17 undone" or "Slot 17 changed since: left as it is".
    QString text() const;
};

// Enrolment by presenting fobs to the programmer's receiver: each capture line's fob goes into
// the next free slot of the open database, through the same path as typing its serial into
// that slot, so every view of the database follows at once. A fob the database holds already
// (letter case aside) is never added again.
class Enrolment : public QObject {
    Q_OBJECT
public:
    // A fob held on the reader is heard over and over: the same serial again within this many
    // seconds of the last time it was heard is the same presentation.
    static constexpr double RepeatSeconds = 2.0;

    // Fills slots 1 to `slotCount` (the receiver's size, 85 or 340) of `database`; `clock`
    // times the repeats. Both must outlive the enrolment.
    Enrolment(OpenDatabase &database, int slotCount, const platform::Clock &clock,
              QObject *parent = nullptr);

    // Takes one line that the programmer's receiver reported; its fob serial is the last run
    // of exactly 8 hexadecimal digits. Nothing for a line without one, for "00000000", for the
    // same fob heard again within RepeatSeconds, and for every line after NoFreeSlot.
    std::optional<EnrolmentResult> takeLine(const QString &line);

    // Restores, in the slot of the latest enrolment not yet undone, the serial it replaced.
    // Nothing when there is none left to undo.
    std::optional<UndoneEnrolment> undoLast();

    // Fobs enrolled and not undone.
    int enrolledCount() const { return m_enrolledCount; }
    bool canUndo() const { return !m_history.isEmpty(); }
    // A fob found no free slot: the enrolment takes no more lines.
    bool isFull() const { return m_full; }
    // The lowest slot within the size whose serial is empty or "00000000" and whose owner
    // fields (Surname to Other Detail 2) are all empty; 0 when there is none. Its auxiliary
    // word does not count: a Read leaves "0000" in every slot.
    int nextFreeSlot() const;

private:
    struct Enrolled {
        int slot;
        QString previousSerial;
        QString serial;
    };

    bool heardJustNow(const QString &serial);
    void forgetHistory();

    OpenDatabase &m_database;
    int m_slotCount;
    const platform::Clock &m_clock;
    QList<Enrolled> m_history;      // oldest first
    QHash<QString, double> m_heard; // serial -> when it was last heard
    int m_enrolledCount = 0;
    bool m_full = false;
};

// "N fobs enrolled".
QString enrolledCountText(int count);

} // namespace userdb
