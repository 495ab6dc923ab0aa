#include "app/programmerport/portlistmodel.h"

namespace app {

namespace {
QString hex4(quint16 id) {
    return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0'));
}
} // namespace

QString PortListModel::automaticText() {
    return QStringLiteral("Automatic (scan ports 1 to 255)");
}

QString PortListModel::portText(const platform::PortDescription &port) {
    const QString text = QStringLiteral("Port %1: %2").arg(port.number).arg(port.path);
    return port.present ? text : text + QStringLiteral(" (absent)");
}

QString PortListModel::usbIdText(const platform::PortDescription &port) {
    if (!port.vendorId || !port.productId)
        return {};
    return hex4(*port.vendorId) + QLatin1Char(':') + hex4(*port.productId);
}

void PortListModel::setPorts(QList<platform::PortDescription> ports) {
    beginResetModel();
    m_ports = std::move(ports);
    endResetModel();
}

QString PortListModel::pathAt(int row) const {
    return row >= 1 && row <= m_ports.size() ? m_ports.at(row - 1).path : QString();
}

int PortListModel::rowOf(const QString &path) const {
    if (path.isEmpty())
        return 0;
    for (qsizetype i = 0; i < m_ports.size(); ++i)
        if (m_ports.at(i).path == path)
            return int(i) + 1;
    return -1;
}

int PortListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_ports.size()) + 1;
}

int PortListModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PortListModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    if (index.row() == 0)
        return index.column() == Port ? QVariant(automaticText()) : QVariant();
    const platform::PortDescription &port = m_ports.at(index.row() - 1);
    switch (index.column()) {
    case Port:
        return portText(port);
    case Description:
        return port.description;
    case Manufacturer:
        return port.manufacturer;
    case UsbId:
        return usbIdText(port);
    case SerialNumber:
        return port.serialNumber;
    default:
        return {};
    }
}

QVariant PortListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case Port:
        return QStringLiteral("Port");
    case Description:
        return QStringLiteral("Description");
    case Manufacturer:
        return QStringLiteral("Manufacturer");
    case UsbId:
        return QStringLiteral("USB ID");
    case SerialNumber:
        return QStringLiteral("Serial number");
    default:
        return {};
    }
}

} // namespace app
