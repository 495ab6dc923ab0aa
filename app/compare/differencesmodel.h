#pragma once

#include "link/compare.h"

#include <QAbstractTableModel>

namespace app {

// The differing slots as a table: slot, database serial and aux, device serial and aux. The
// values that differ are in bold, so the eye finds them in a row.
class DifferencesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Slot, DatabaseSerial, DatabaseAux, DeviceSerial, DeviceAux, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void setDifferences(QList<proglink::SlotDifference> differences);
    const proglink::SlotDifference &difference(int row) const { return m_differences.at(row); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<proglink::SlotDifference> m_differences;
};

} // namespace app
