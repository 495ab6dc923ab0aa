#include "link/memorysize.h"

#include "link/standardexchange.h"

namespace proglink {

namespace {

ExchangeCommand commandFor(MemorySize size) {
    const QString receiverSet = QStringLiteral("Receiver memory size set");
    const QString receiverFailed = QStringLiteral("Failed to set receiver memory size");
    const QString tagSet = QStringLiteral("Backup tag size set");
    const QString tagFailed = QStringLiteral("Failed to set backup tag memory size");
    switch (size) {
    case MemorySize::Receiver340:
        return {'E', 2, receiverSet, receiverFailed};
    case MemorySize::Receiver85:
        return {'F', 2, receiverSet, receiverFailed};
    case MemorySize::Tag340:
        return {'G', 2, tagSet, tagFailed};
    case MemorySize::Tag85:
        break;
    }
    return {'H', 2, tagSet, tagFailed};
}

} // namespace

void runMemorySizeCommand(LinkContext &context, int port, MemorySize size) {
    if (port == 0)
        return;
    try {
        runStandardExchange(context, port, commandFor(size));
    } catch (const platform::PortError &) {
        // A size command ends silently when the port cannot be used.
    }
}

} // namespace proglink
