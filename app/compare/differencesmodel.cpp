#include "app/compare/differencesmodel.h"

#include <QFont>

namespace app {

namespace {

QString text(const proglink::SlotDifference &d, int column) {
    switch (column) {
    case DifferencesModel::Slot:
        return QString::number(d.slot);
    case DifferencesModel::DatabaseSerial:
        return d.databaseSerial;
    case DifferencesModel::DatabaseAux:
        return d.databaseAux;
    case DifferencesModel::DeviceSerial:
        return d.deviceSerial;
    case DifferencesModel::DeviceAux:
        return d.deviceAux;
    default:
        return {};
    }
}

// Whether the value in `column` is one of a pair that differs.
bool differs(const proglink::SlotDifference &d, int column) {
    switch (column) {
    case DifferencesModel::DatabaseSerial:
    case DifferencesModel::DeviceSerial:
        return d.databaseSerial.compare(d.deviceSerial, Qt::CaseInsensitive) != 0;
    case DifferencesModel::DatabaseAux:
    case DifferencesModel::DeviceAux:
        return d.databaseAux != d.deviceAux;
    default:
        return false;
    }
}

} // namespace

void DifferencesModel::setDifferences(QList<proglink::SlotDifference> differences) {
    beginResetModel();
    m_differences = std::move(differences);
    endResetModel();
}

int DifferencesModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_differences.size());
}

int DifferencesModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant DifferencesModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= m_differences.size())
        return {};
    const proglink::SlotDifference &d = m_differences.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return text(d, index.column());
    case Qt::FontRole:
        if (differs(d, index.column())) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::TextAlignmentRole:
        return index.column() == Slot ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    default:
        return {};
    }
}

QVariant DifferencesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const QStringList titles{QStringLiteral("Slot"), QStringLiteral("Database Serial"),
                                    QStringLiteral("Database Aux"), QStringLiteral("Device Serial"),
                                    QStringLiteral("Device Aux")};
    return section >= 0 && section < titles.size() ? QVariant(titles.at(section)) : QVariant();
}

} // namespace app
