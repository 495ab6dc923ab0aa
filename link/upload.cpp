#include "link/upload.h"

#include "link/characterwait.h"
#include "link/portpreparation.h"
#include "link/replycollector.h"
#include "link/slotvalues.h"
#include "userdb/textcodec.h"

namespace proglink {

namespace {

constexpr double SlotLimit = 2;
constexpr double SlotOverallLimit = AcknowledgementOverallLimit;

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

QString programmingCancelledText(Device device, int slotsSent, int memorySlots) {
    return QStringLiteral("Programming cancelled after %1 of %2 slots: the %3 now holds a mix of "
                          "old and new slots")
        .arg(slotsSent)
        .arg(memorySlots)
        .arg(device == Device::Receiver ? QStringLiteral("receiver") : QStringLiteral("tag"));
}

UploadResult uploadMemory(LinkContext &context, ProgrammerView &view, int port, Device device,
                          int memorySlots, const userdb::RecordStore &store) {
    UploadResult result{UploadOutcome::Failed, 0, memorySlots};
    // Checked before the port is touched: a value that would run as a command of its own
    // must not reach the device, and neither must the slots before it.
    if (const QList<UnsendableValue> unsendable = findUnsendableValues(store, memorySlots);
        !unsendable.isEmpty()) {
        context.dialogs.message(describeUnsendableValues(unsendable), platform::ApplicationTitle,
                                platform::MessageIcon::Critical);
        result.outcome = UploadOutcome::Refused;
        return result;
    }
    if (isCancelled(context)) {
        result.outcome = UploadOutcome::Cancelled;
        return result;
    }
    preparePort(context.port, port);
    view.showProgress(1, memorySlots);
    const char letter = device == Device::Receiver ? 'W' : 'V';
    AcknowledgementOutcome acknowledgement = AcknowledgementOutcome::Acknowledged;
    try {
        for (int slot = 1; slot <= memorySlots; ++slot) {
            if (isCancelled(context)) {
                acknowledgement = AcknowledgementOutcome::Cancelled;
                break;
            }
            view.setProgress(slot);
            writeSlot(context, view, letter, slot, store);
            result.slotsSent = slot;
            acknowledgement = collectAcknowledgement(context, {SlotLimit, SlotOverallLimit, true});
            if (acknowledgement != AcknowledgementOutcome::Acknowledged)
                break;
        }
    } catch (const platform::PortError &) {
        // the device went away part way through
        acknowledgement = AcknowledgementOutcome::NotAcknowledged;
    }
    // A cancel closes the port at once; otherwise it closes once the box has been seen, as the
    // standard exchange does.
    if (acknowledgement == AcknowledgementOutcome::Cancelled)
        closeQuietly(context.port);
    switch (acknowledgement) {
    case AcknowledgementOutcome::Acknowledged:
        result.outcome = UploadOutcome::Complete;
        context.dialogs.message(QStringLiteral("Data downloaded OK"), platform::ApplicationTitle,
                                platform::MessageIcon::None);
        break;
    case AcknowledgementOutcome::Cancelled:
        result.outcome = UploadOutcome::Cancelled;
        if (result.slotsSent > 0)
            context.dialogs.message(programmingCancelledText(device, result.slotsSent, memorySlots),
                                    platform::ApplicationTitle, platform::MessageIcon::Critical);
        break;
    case AcknowledgementOutcome::NotAcknowledged:
        context.dialogs.message(QStringLiteral("Failed to write data"), platform::ApplicationTitle,
                                platform::MessageIcon::Critical);
        break;
    }
    closeQuietly(context.port);
    view.hideProgress();
    return result;
}

} // namespace proglink
