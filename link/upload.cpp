#include "link/upload.h"

#include "link/characterwait.h"
#include "link/portpreparation.h"
#include "link/replycollector.h"
#include "link/slotvalues.h"
#include "userdb/textcodec.h"

namespace proglink {

namespace {

constexpr double SlotLimit = 2;

// Sends one slot's write command, one write per item.
void writeSlot(LinkContext &context, ProgrammerView &view, char letter, int slot,
               const userdb::RecordStore &store) {
    platform::SerialPort &serial = context.port;
    const SlotValues values = slotValuesToSend(store, slot);
    serial.write(QByteArray(1, letter));
    serial.write("=");
    serial.write(QByteArray::number(slot).rightJustified(3, '0'));
    serial.write(",");
    serial.write(values.serialNumber);
    view.showSerialBeingWritten(userdb::decodeWindows1252(values.serialNumber));
    serial.write(",");
    serial.write(values.auxiliaryWord);
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
    // Checked before the port is touched: a value that would run as a command of its own
    // must not reach the device, and neither must the slots before it.
    if (const QList<UnsendableValue> unsendable = findUnsendableValues(store, memorySlots);
        !unsendable.isEmpty()) {
        context.dialogs.message(describeUnsendableValues(unsendable), platform::ApplicationTitle,
                                platform::MessageIcon::Critical);
        return false;
    }
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
        context.dialogs.message(QStringLiteral("Data downloaded OK"), platform::ApplicationTitle,
                                platform::MessageIcon::None);
    else
        context.dialogs.message(QStringLiteral("Failed to write data"), platform::ApplicationTitle,
                                platform::MessageIcon::Critical);
    closeQuietly(context.port);
    view.hideProgress();
    return acknowledged;
}

} // namespace proglink
