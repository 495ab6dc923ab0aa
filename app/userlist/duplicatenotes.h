#pragma once

#include <QList>
#include <QString>

namespace app {

// "Same serial as slot 17", "Same serial as slots 3, 17": the user list's note on slot `slot`,
// whose serial the slots `holders` (ascending, `slot` among them or not) hold. Empty when no
// other slot does.
QString sameSerialNote(const QList<int> &holders, int slot);

// "Serial 1A2B3C4D is also in slot 17" (or "in slots 3, 17"): the warning on leaving the
// serial box when the slots `otherSlots` (ascending) hold the same serial. Empty when none do.
QString serialAlsoInNote(const QString &serial, const QList<int> &otherSlots);

} // namespace app
