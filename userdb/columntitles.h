#pragma once

#include <QString>

namespace userdb {

// What the user calls each record column (1 to 13), as the user list and spreadsheets title them.
QString columnTitle(int column);

} // namespace userdb
