#include "app/userlist/userlistmodel.h"

#include "app/userlist/duplicatenotes.h"
#include "userdb/columntitles.h"
#include "userdb/opendatabase.h"

#include <QTimer>

#include <algorithm>

namespace app {

UserListModel::UserListModel(const userdb::OpenDatabase &database, QObject *parent)
    : QAbstractTableModel(parent)
    , m_database(&database) {
    rebuild();
    connect(&database, &userdb::OpenDatabase::cellChanged, this,
            [this](int slot, int) { followCellChange(slot); });
    connect(&database, &userdb::OpenDatabase::serialPeersChanged, this,
            &UserListModel::followSerialPeers);
    connect(&database, &userdb::OpenDatabase::recordsChanged, this, &UserListModel::resetNow);
    // A window owner destroys its members before its child windows.
    connect(&database, &QObject::destroyed, this, [this] {
        beginResetModel();
        m_database = nullptr;
        m_slots.clear();
        m_resetPending = false;
        endResetModel();
    });
}

void UserListModel::rebuild() {
    m_slots.clear();
    const userdb::RecordStore &records = m_database->records();
    for (int slot = 1; slot <= userdb::SlotCount; ++slot)
        if (!records.isFree(slot))
            m_slots.push_back(slot);
}

void UserListModel::resetNow() {
    if (!m_database)
        return;
    m_resetPending = false;
    beginResetModel();
    rebuild();
    endResetModel();
}

bool UserListModel::takeRowSignal() {
    if (m_rowSignalsThisTurn++ == 0)
        QTimer::singleShot(0, this, [this] { m_rowSignalsThisTurn = 0; });
    if (m_rowSignalsThisTurn <= RowSignalsPerTurn)
        return true;
    m_resetPending = true;
    QTimer::singleShot(0, this, [this] {
        if (m_resetPending)
            resetNow();
    });
    return false;
}

int UserListModel::rowOfSlot(int slot) const {
    const auto found = std::lower_bound(m_slots.begin(), m_slots.end(), slot);
    return found != m_slots.end() && *found == slot ? int(found - m_slots.begin()) : -1;
}

void UserListModel::followCellChange(int slot) {
    if (m_resetPending)
        return; // the whole list follows at once when the burst is over
    const auto place = std::lower_bound(m_slots.begin(), m_slots.end(), slot);
    const int row = int(place - m_slots.begin());
    const bool listed = place != m_slots.end() && *place == slot;
    const bool holdsText = !m_database->records().isFree(slot);
    if (listed && holdsText) {
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    } else if (listed == holdsText || !takeRowSignal()) {
        return;
    } else if (listed) {
        beginRemoveRows({}, row, row);
        m_slots.erase(place);
        endRemoveRows();
    } else {
        beginInsertRows({}, row, row);
        m_slots.insert(place, slot);
        endInsertRows();
    }
}

void UserListModel::followSerialPeers(const QList<int> &peers) {
    if (m_resetPending)
        return;
    // One signal per run of adjacent rows: a serial shared by a block of slots is one change.
    int first = -1;
    int last = -1;
    const auto flush = [&] {
        if (first >= 0)
            emit dataChanged(index(first, NoteColumn), index(last, NoteColumn));
    };
    for (int slot : peers) {
        const int row = rowOfSlot(slot);
        if (row < 0)
            continue;
        if (row != last + 1 || first < 0) {
            flush();
            first = row;
        }
        last = row;
    }
    flush();
}

int UserListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_slots.size());
}

int UserListModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString UserListModel::note(int slot) const {
    const QString &serial = m_database->cell(slot, userdb::SerialNumber);
    return sameSerialNote(m_database->serials().slotsWith(serial), slot);
}

QVariant UserListModel::data(const QModelIndex &index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int slot = slotAt(index.row());
    const int column = index.column();
    if (role == Qt::TextAlignmentRole && column == SlotColumn)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole && column == NoteColumn)
        return note(slot); // the whole list of slots, however narrow the column
    if (role != Qt::DisplayRole && role != SortRole)
        return {};
    if (column == SlotColumn)
        return slot;
    if (column == NoteColumn)
        return note(slot);
    return m_database->cell(slot, column);
}

QVariant UserListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == SlotColumn)
        return userdb::slotColumnTitle();
    if (section == NoteColumn)
        return QStringLiteral("Note");
    return userdb::columnTitle(section);
}

} // namespace app
