#include "userdb/columntitles.h"

#include "userdb/recordstore.h"

#include <array>

namespace userdb {

QString slotColumnTitle() {
    return QStringLiteral("Slot");
}

QString columnTitle(int column) {
    static const std::array<QString, ColumnCount> titles = {
        QStringLiteral("Serial Number"),  QStringLiteral("Auxiliary Word"),
        QStringLiteral("Surname"),        QStringLiteral("Other Names"),
        QStringLiteral("Address 1"),      QStringLiteral("Address 2"),
        QStringLiteral("Suburb"),         QStringLiteral("State"),
        QStringLiteral("Post Code"),      QStringLiteral("Telephone"),
        QStringLiteral("Mobile"),         QStringLiteral("Other Detail 1"),
        QStringLiteral("Other Detail 2"),
    };
    Q_ASSERT(column >= 1 && column <= ColumnCount);
    return titles[std::size_t(column - 1)];
}

} // namespace userdb
