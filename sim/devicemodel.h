#pragma once

#include "sim/options.h"
#include "sim/output.h"
#include "sim/slotmemory.h"

#include <QList>

namespace sim {

// The programmer as the PC sees it: takes the characters the PC sends and tells what to send
// back, and when. It knows nothing of time or of the line: its drivers (the pseudo-terminal
// and the in-process adapter) pace the outputs.
class ProgrammerModel {
public:
    explicit ProgrammerModel(ProgrammerOptions options = {});

    // Characters from the PC; each command ends with CR. Returns what the completed commands
    // make the programmer send.
    Outputs receive(const QByteArray &bytes);
    // A fob pressed near the programmer's own receiver: the line (without line end) is sent
    // while the receiver is on, and nothing otherwise.
    Outputs capture(const QByteArray &line);
    // The next fob of a steady stream ("RX " and 8 hexadecimal digits), while the receiver is on.
    Outputs captureTick();

    bool receiverOn() const { return m_receiverOn; }
    SlotMemory &receiver() { return m_receiver; }
    SlotMemory &tag() { return m_tag; }
    const SlotMemory &receiver() const { return m_receiver; }
    const SlotMemory &tag() const { return m_tag; }
    // Every command received, without its CR, in order.
    const QList<QByteArray> &commands() const { return m_commands; }
    // Counts the changes to either memory, sizes included; a driver that keeps the memories in
    // a file saves them when this moves.
    int changeCount() const { return m_changes; }
    const ProgrammerOptions &options() const { return m_options; }

private:
    Outputs execute(const QByteArray &command);
    Outputs answer(char letter, const QByteArray &command);
    QList<QByteArray> readLines(const SlotMemory &memory) const;
    bool writeSlot(SlotMemory &memory, const QByteArray &command);
    Output reply(const QList<QByteArray> &lines, double pause = 0.0) const;
    QByteArray token(const QByteArray &text) const;
    QByteArray lineEnd() const;
    void changed() { ++m_changes; }

    ProgrammerOptions m_options;
    SlotMemory m_receiver;
    SlotMemory m_tag;
    QByteArray m_pending;
    QList<QByteArray> m_commands;
    bool m_receiverOn = false;
    int m_answered = 0;
    int m_changes = 0;
    quint32 m_nextFob = 1;
};

} // namespace sim
