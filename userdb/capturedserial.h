#pragma once

#include <QString>

namespace userdb {

// The fob serial in a line that the programmer's own receiver reported: the last run of
// exactly 8 hexadecimal digits (a longer or shorter run of hex digits is some other number),
// in capitals. Empty when the line holds none.
QString capturedSerial(const QString &line);

} // namespace userdb
