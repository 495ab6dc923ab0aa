#include "link/standardexchange.h"

#include "link/characterwait.h"
#include "link/portpreparation.h"
#include "link/replycollector.h"

namespace proglink {

bool runStandardExchange(LinkContext &context, int port, const ExchangeCommand &command) {
    preparePort(context.port, port);
    bool acknowledged = false;
    try {
        context.port.write(QByteArray(1, command.letter));
        context.port.write(QByteArray(1, CarriageReturn));
        acknowledged = collectAcknowledgement(context, {command.limit, command.overallLimit}) ==
                       AcknowledgementOutcome::Acknowledged;
    } catch (const platform::PortError &) {
        acknowledged = false; // the device went away before it answered
    }
    if (acknowledged)
        context.dialogs.message(command.successMessage, platform::ApplicationTitle,
                                platform::MessageIcon::None);
    else
        context.dialogs.message(command.failureMessage, platform::ApplicationTitle,
                                platform::MessageIcon::Critical);
    closeQuietly(context.port);
    return acknowledged;
}

} // namespace proglink
