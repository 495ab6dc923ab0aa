#include "sim/devicemodel.h"

namespace sim {

namespace {

// A command longer than this without CR is line noise; the programmer forgets it.
constexpr qsizetype MaxCommandLength = 256;

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool allOf(const QByteArray &text, bool (*test)(char)) {
    for (char c : text)
        if (!test(c))
            return false;
    return true;
}

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The auxiliary word goes into the state file between spaces, so it must not hold any. Bytes
// above 127 are data: the PC sends them as its database file holds them.
bool isAuxChar(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte > ' ' && byte != 127 && c != ',';
}

// Hanging up after a reply waits this long, so that the PC has read the reply first: a line
// that drops loses what the PC has not yet read.
constexpr double HangUpGrace = 0.2;

bool acknowledgesLate(char letter) {
    return QByteArray("EFGHKLXYWV").contains(letter);
}

} // namespace

ProgrammerModel::ProgrammerModel(ProgrammerOptions options)
    : m_options(std::move(options)) {}

Outputs ProgrammerModel::receive(const QByteArray &bytes) {
    Outputs outputs;
    for (char c : bytes) {
        if (c != '\r') {
            // A stray LF (the tail of a CR LF) before a command is no part of it.
            if (!(c == '\n' && m_pending.isEmpty()))
                m_pending.append(c);
            if (m_pending.size() > MaxCommandLength)
                m_pending.clear();
            continue;
        }
        const QByteArray command = m_pending;
        m_pending.clear();
        if (!command.isEmpty())
            outputs += execute(command);
    }
    return outputs;
}

Outputs ProgrammerModel::capture(const QByteArray &line) {
    if (!m_receiverOn || m_options.silent)
        return {};
    return {Output{Output::Text, 0.0, line + lineEnd()}};
}

Outputs ProgrammerModel::captureTick() {
    if (!m_receiverOn)
        return {};
    return capture("RX " + QByteArray::number(m_nextFob++, 16).toUpper().rightJustified(8, '0'));
}

Outputs ProgrammerModel::execute(const QByteArray &command) {
    m_commands.append(command);
    if (m_options.silent)
        return {};
    const char letter = upper(command.at(0));
    Outputs outputs;
    if (m_options.echo)
        outputs.append(Output{Output::Text, 0.0, command + '\r'});
    if (m_options.hangUpOn && upper(m_options.hangUpOn) == letter) {
        outputs.append(Output{Output::HangUp, 0.0, {}});
        return outputs;
    }
    const Outputs answerOutputs = answer(letter, command);
    if (m_options.endless)
        outputs.append(Output{Output::Endless, 0.0, {}});
    else
        outputs += answerOutputs;
    if (m_options.floodAfter && upper(m_options.floodAfter) == letter)
        outputs.append(Output{Output::Flood, 0.0, {}});
    if (m_options.hangUpAfter > 0 && ++m_answered == m_options.hangUpAfter)
        outputs.append(Output{Output::HangUp, HangUpGrace, {}});
    return outputs;
}

Outputs ProgrammerModel::answer(char letter, const QByteArray &command) {
    const QList<QByteArray> ok{token("OK")};
    const double ackPause = acknowledgesLate(letter) ? m_options.ackDelay : 0.0;
    const bool single = command.size() == 1;
    if (letter == 'P' && single)
        return {reply({token("ZEPRO V" + m_options.versionText)})};
    if (letter == 'R' && single) {
        m_receiverOn = true;
        return {};
    }
    if (letter == 'Q' && single) {
        m_receiverOn = false;
        return {reply(ok)};
    }
    if ((letter == 'D' || letter == 'C') && single)
        return {reply(readLines(letter == 'D' ? m_receiver : m_tag))};
    if ((letter == 'W' || letter == 'V') && !single) {
        if (!writeSlot(letter == 'W' ? m_receiver : m_tag, command))
            return {reply({"?"})};
        return {reply(ok, ackPause)};
    }
    if (!single)
        return {reply({"?"})};
    switch (letter) {
    case 'E':
    case 'F':
        m_receiver.setSize(letter == 'E' ? SlotMemory::LargeSize : SlotMemory::SmallSize);
        break;
    case 'G':
    case 'H':
        m_tag.setSize(letter == 'G' ? SlotMemory::LargeSize : SlotMemory::SmallSize);
        break;
    case 'K':
        m_receiver.clear();
        break;
    case 'L':
        m_tag.clear();
        break;
    case 'Y':
        m_tag.copyFrom(m_receiver);
        break;
    case 'X':
        m_receiver.copyFrom(m_tag);
        break;
    default:
        return {reply({"?"})};
    }
    changed();
    return {reply(ok, ackPause)};
}

QList<QByteArray> ProgrammerModel::readLines(const SlotMemory &memory) const {
    QList<QByteArray> lines;
    for (int number = 1; number <= memory.size(); ++number) {
        if (number == m_options.readErrorAt)
            return lines << "?";
        const Slot slot = memory.slot(number);
        lines << QByteArray::number(number).rightJustified(3, '0') + ' ' + slot.serial + ' ' +
                     slot.aux;
    }
    return lines << token("OK");
}

// "W=007,0000001A,0000": slot as 3 digits, serial as 8 hexadecimal digits, auxiliary word.
bool ProgrammerModel::writeSlot(SlotMemory &memory, const QByteArray &command) {
    if (command.size() != 19 || command.at(1) != '=' || command.at(5) != ',' ||
        command.at(14) != ',')
        return false;
    const QByteArray number = command.mid(2, 3);
    const QByteArray serial = command.mid(6, 8);
    const QByteArray aux = command.mid(15, 4);
    if (!allOf(number, isDigit) || !allOf(serial, isHex) || !allOf(aux, isAuxChar))
        return false;
    if (number.toInt() == m_options.dropWrite)
        return memory.contains(m_options.dropWrite); // acknowledged, not kept
    if (!memory.setSlot(number.toInt(), Slot{serial.toUpper(), aux}))
        return false;
    changed();
    return true;
}

Output ProgrammerModel::reply(const QList<QByteArray> &lines, double pause) const {
    QByteArray text;
    for (const QByteArray &line : lines)
        text += line + lineEnd();
    if (m_options.noFinalCr)
        text.chop(lineEnd().size());
    return Output{Output::Text, pause, text};
}

QByteArray ProgrammerModel::token(const QByteArray &text) const {
    return m_options.lowercase ? text.toLower() : text;
}

QByteArray ProgrammerModel::lineEnd() const {
    return m_options.crlf ? "\r\n" : "\r";
}

} // namespace sim
