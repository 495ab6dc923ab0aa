#pragma once

#include "platform/portcatalog.h"

#include <QAbstractTableModel>

namespace app {

// The choices of the Programmer Port dialog as a table: "Automatic (scan ports 1 to 255)"
// first, then every port the scan numbers, with what the system knows of it.
class PortListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Port, Description, Manufacturer, UsbId, SerialNumber, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void setPorts(QList<platform::PortDescription> ports);
    // The device path a row stands for; empty for Automatic.
    QString pathAt(int row) const;
    // The row of a path; 0 (Automatic) for an empty path, -1 for one not listed.
    int rowOf(const QString &path) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    static QString automaticText();
    // "Port 1: /dev/ttyUSB0", as status panel 2 names a port; "(absent)" after one not there.
    static QString portText(const platform::PortDescription &port);
    // "0403:6001"; empty unless both ids are known.
    static QString usbIdText(const platform::PortDescription &port);

private:
    QList<platform::PortDescription> m_ports;
};

} // namespace app
