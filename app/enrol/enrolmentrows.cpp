#include "app/enrol/enrolmentrows.h"

namespace app {

int EnrolmentRows::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant EnrolmentRows::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return textOf(m_rows.at(index.row()));
    return {};
}

QModelIndex EnrolmentRows::append(Row row) {
    const int number = int(m_rows.size());
    beginInsertRows({}, number, number);
    m_rows.append(std::move(row));
    endInsertRows();
    return index(number);
}

QString EnrolmentRows::textOf(const Row &row) {
    QStringList parts{row.time.toString(QStringLiteral("HH:mm:ss"))};
    if (!row.serial.isEmpty())
        parts << row.serial;
    parts << row.outcome;
    return parts.join(QStringLiteral("  "));
}

} // namespace app
