#include "link/slotvalues.h"

#include "userdb/textcodec.h"

#include <QStringList>
#include <algorithm>

namespace proglink {

namespace {

constexpr qsizetype MaxLinesShown = 10;

QByteArray valueOrDefault(const QString &stored, const char *empty) {
    return stored.isEmpty() ? QByteArray(empty) : userdb::encodeWindows1252(stored);
}

bool isFramingOrControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F || c == ',';
}

bool isSendable(const QByteArray &value) {
    return std::none_of(value.cbegin(), value.cend(), isFramingOrControl);
}

} // namespace

SlotValues slotValuesToSend(const userdb::RecordStore &store, int slot) {
    return {valueOrDefault(store.cell(slot, userdb::SerialNumber), "00000000"),
            valueOrDefault(store.cell(slot, userdb::AuxiliaryWord), "0000")};
}

QList<UnsendableValue> findUnsendableValues(const userdb::RecordStore &store, int memorySlots) {
    QList<UnsendableValue> found;
    for (int slot = 1; slot <= memorySlots; ++slot) {
        const SlotValues values = slotValuesToSend(store, slot);
        if (!isSendable(values.serialNumber))
            found.append({slot, UnsendableValue::Field::SerialNumber});
        if (!isSendable(values.auxiliaryWord))
            found.append({slot, UnsendableValue::Field::AuxiliaryWord});
    }
    return found;
}

QString describeUnsendableValues(const QList<UnsendableValue> &values) {
    QStringList lines;
    for (const UnsendableValue &value : values.first(std::min(values.size(), MaxLinesShown)))
        lines << QStringLiteral("Slot %1: the %2 holds characters that cannot be sent to the "
                                "programmer")
                     .arg(value.slot)
                     .arg(value.field == UnsendableValue::Field::SerialNumber
                              ? QStringLiteral("serial number")
                              : QStringLiteral("auxiliary word"));
    return lines.join(QLatin1Char('\n'));
}

} // namespace proglink
