#pragma once

#include <QString>

namespace userdb {

// Titles of the user list's columns, which the spreadsheet export and import, the printed list
// and the on-screen list share: the slot number, then the 13 record columns in order.
QString slotColumnTitle();
// The title of record column 1 to 13.
QString columnTitle(int column);

} // namespace userdb
