#pragma once

#include "link/trafficlog.h"

#include <QAbstractTableModel>

namespace app {

// The traffic log as a table: time, direction, text with control characters shown. Follows the
// log as rows come, go at the cap and are cleared.
class TrafficLogModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Time, Direction, Text, ColumnCount };

    explicit TrafficLogModel(const proglink::TrafficLog &log, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void rowAdded();
    void rowsDropped(qsizetype count);
    void rowChanged(qsizetype index);
    void cleared();

    const proglink::TrafficLog &m_log;
    // The rows the views know of: the log has changed already when its signal comes.
    int m_rows = 0;
};

} // namespace app
