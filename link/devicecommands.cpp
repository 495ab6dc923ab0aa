#include "link/devicecommands.h"

#include "link/standardexchange.h"

namespace proglink {

namespace {

// Clearing is quick; copying a whole memory inside the programmer takes longer.
constexpr double ClearLimit = 2;
constexpr double CopyLimit = 8;
// A whole memory copied inside the programmer may take a while even when it is healthy.
constexpr double CopyOverallLimit = 60;

ExchangeCommand commandFor(DeviceCommand command) {
    const QString copyFailed = QStringLiteral("Failed to copy data");
    switch (command) {
    case DeviceCommand::ClearReceiver:
        return {'K', ClearLimit, QStringLiteral("Receiver Cleared"),
                QStringLiteral("Failed to clear Receiver")};
    case DeviceCommand::ClearTag:
        return {'L', ClearLimit, QStringLiteral("Backup Tag Cleared"),
                QStringLiteral("Failed to clear Tag")};
    case DeviceCommand::CopyReceiverToTag:
        return {'Y', CopyLimit, QStringLiteral("Copied from Receiver to Tag"), copyFailed,
                CopyOverallLimit};
    case DeviceCommand::CopyTagToReceiver:
        break;
    }
    return {'X', CopyLimit, QStringLiteral("Copied from Tag to Receiver"), copyFailed,
            CopyOverallLimit};
}

} // namespace

bool runDeviceCommand(LinkContext &context, int port, DeviceCommand command) {
    return runStandardExchange(context, port, commandFor(command));
}

} // namespace proglink
