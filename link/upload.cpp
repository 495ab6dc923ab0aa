#include "link/upload.h"

#include "link/characterwait.h"
#include "link/portpreparation.h"
#include "link/replycollector.h"

namespace proglink {

namespace {

constexpr double SlotLimit = 2;
const QString EmptySerial = QStringLiteral("00000000");
const QString EmptyAuxiliary = QStringLiteral("0000");

// Sends one slot's write command, one write per item.
void writeSlot(LinkContext &context, ProgrammerView &view, char letter, int slot,
               const userdb::RecordStore &store) {
    platform::SerialPort &serial = context.port;
    const QString storedSerial = store.cell(slot, userdb::SerialNumber);
    const QString storedAuxiliary = store.cell(slot, userdb::AuxiliaryWord);
    const QString serialNumber = storedSerial.isEmpty() ? EmptySerial : storedSerial;
    const QString auxiliary = storedAuxiliary.isEmpty() ? EmptyAuxiliary : storedAuxiliary;

    serial.write(QByteArray(1, letter));
    serial.write("=");
    serial.write(QByteArray::number(slot).rightJustified(3, '0'));
    serial.write(",");
    serial.write(serialNumber.toLatin1());
    view.showSerialBeingWritten(serialNumber);
    serial.write(",");
    serial.write(auxiliary.toLatin1());
    serial.write(QByteArray(1, CarriageReturn));
}

} // namespace

int memorySlotsFor(Device device, bool rx85Selected, bool tag85Selected) {
    if (device == Device::Receiver && rx85Selected)
        return 85;
    if (device == Device::Tag && tag85Selected)
        return 85;
    return 340;
}

bool uploadMemory(LinkContext &context, ProgrammerView &view, int port, Device device,
                  int memorySlots, const userdb::RecordStore &store) {
    preparePort(context.port, port);
    view.showProgress(1, memorySlots);
    const char letter = device == Device::Receiver ? 'W' : 'V';
    bool acknowledged = true;
    try {
        for (int slot = 1; slot <= memorySlots && acknowledged; ++slot) {
            view.setProgress(slot);
            writeSlot(context, view, letter, slot, store);
            acknowledged = collectAcknowledgement(context, SlotLimit);
        }
    } catch (const platform::PortError &) {
        acknowledged = false; // the device went away part way through
    }
    if (acknowledged)
        context.dialogs.message(QStringLiteral("Data downloaded OK"), ApplicationTitle,
                                platform::MessageIcon::None);
    else
        context.dialogs.message(QStringLiteral("Failed to write data"), ApplicationTitle,
                                platform::MessageIcon::Critical);
    closeQuietly(context.port);
    view.hideProgress();
    return acknowledged;
}

} // namespace proglink
