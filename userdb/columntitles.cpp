#include "userdb/columntitles.h"

#include "userdb/recordstore.h"

#include <array>

namespace userdb {

QString columnTitle(int column) {
    static const std::array<const char *, ColumnCount> titles = {
        "Serial Number", "Auxiliary Word", "Surname",       "Other Names", "Address 1",
        "Address 2",     "Suburb",         "State",         "Post Code",   "Telephone",
        "Mobile",        "Other Detail 1", "Other Detail 2"};
    return column >= 1 && column <= ColumnCount ? QLatin1String(titles[std::size_t(column - 1)])
                                                : QString();
}

} // namespace userdb
