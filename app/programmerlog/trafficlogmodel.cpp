#include "app/programmerlog/trafficlogmodel.h"

#include <QDateTime>

namespace app {

TrafficLogModel::TrafficLogModel(const proglink::TrafficLog &log, QObject *parent)
    : QAbstractTableModel(parent)
    , m_log(log)
    , m_rows(int(log.size())) {
    using proglink::TrafficLog;
    connect(&log, &TrafficLog::rowAdded, this, &TrafficLogModel::rowAdded);
    connect(&log, &TrafficLog::rowsDropped, this, &TrafficLogModel::rowsDropped);
    connect(&log, &TrafficLog::rowChanged, this, &TrafficLogModel::rowChanged);
    connect(&log, &TrafficLog::cleared, this, &TrafficLogModel::cleared);
}

int TrafficLogModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int TrafficLogModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TrafficLogModel::data(const QModelIndex &index, int role) const {
    // Between a change of the log and its signal the log may hold fewer rows than the views.
    if (!index.isValid() || index.row() >= m_log.size())
        return {};
    const proglink::TrafficRow &row = m_log.row(index.row());
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case Time:
            return QDateTime::fromMSecsSinceEpoch(row.time).toString(
                QStringLiteral("HH:mm:ss.zzz"));
        case Direction:
            return proglink::trafficDirectionName(row.direction);
        case Text:
            return proglink::escapeTraffic(row.bytes);
        default:
            break;
        }
    }
    if (role == Qt::ToolTipRole && index.column() == Time)
        return proglink::trafficTime(row.time);
    return {};
}

QVariant TrafficLogModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case Time:
        return QStringLiteral("Time");
    case Direction:
        return QStringLiteral("Direction");
    case Text:
        return QStringLiteral("Text");
    default:
        return {};
    }
}

void TrafficLogModel::rowAdded() {
    beginInsertRows({}, m_rows, m_rows);
    ++m_rows;
    endInsertRows();
}

void TrafficLogModel::rowsDropped(qsizetype count) {
    beginRemoveRows({}, 0, int(count) - 1);
    m_rows -= int(count);
    endRemoveRows();
}

void TrafficLogModel::rowChanged(qsizetype index) {
    emit dataChanged(this->index(int(index), Text), this->index(int(index), Text));
}

void TrafficLogModel::cleared() {
    beginResetModel();
    m_rows = 0;
    endResetModel();
}

} // namespace app
