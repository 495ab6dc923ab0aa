#include "userdb/opendatabase.h"

namespace userdb {

OpenDatabase::OpenDatabase(QObject *parent)
    : QObject(parent) {}

void OpenDatabase::setCell(int slot, int column, const QString &text) {
    if (slot < 1 || slot > SlotCount || column < 1 || column > ColumnCount)
        return;
    if (m_records.cell(slot, column) == text)
        return;
    m_records.setCell(slot, column, text);
    const QList<int> peers = column == SerialNumber ? m_serials.update(slot, text) : QList<int>();
    emit cellChanged(slot, column);
    if (!peers.isEmpty())
        emit serialPeersChanged(peers);
}

void OpenDatabase::changeRecords(const std::function<void(RecordStore &)> &change) {
    try {
        change(m_records);
    } catch (...) {
        // Part of the change may have been made: views must not go on with the old picture.
        announceAllChanged();
        throw;
    }
    announceAllChanged();
}

void OpenDatabase::replaceRecords(RecordStore records) {
    m_records = std::move(records);
    announceAllChanged();
}

void OpenDatabase::clearRecords() {
    m_records.clear();
    announceAllChanged();
}

void OpenDatabase::announceAllChanged() {
    m_serials.rebuild(m_records);
    emit recordsChanged();
}

} // namespace userdb
