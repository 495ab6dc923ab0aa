#pragma once

#include "userdb/recordstore.h"

#include <QAbstractTableModel>
#include <vector>

namespace userdb {
class OpenDatabase;
}

namespace app {

// The user list: one read-only row per slot that holds any text, in slot order, read straight
// from the open database (nothing is copied). Columns: the slot number, the 13 record columns
// (model column n shows record column n) and a note naming the other slots with the same
// serial. Follows the database: a cell edit updates, inserts or removes one row; a change of
// many records resets the model, and so does a burst of cell edits that would insert or remove
// more than a few rows before the event loop runs again (once it does: until then the list
// shows the rows it had). Should the database be destroyed first, the list empties.
class UserListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int SlotColumn = 0;
    static constexpr int NoteColumn = userdb::ColumnCount + 1;
    static constexpr int ColumnCount = NoteColumn + 1;
    // What the list sorts by: the slot as a number, the other columns as text.
    static constexpr int SortRole = Qt::UserRole;
    // A row inserted or removed costs a view (and the accessible table a screen reader has
    // walked: it reworks an interface per cell) in proportion to the rows it holds; past this
    // many in one turn of the event loop, the rest of the burst is one reset.
    static constexpr int RowSignalsPerTurn = 4;

    explicit UserListModel(const userdb::OpenDatabase &database, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    const userdb::OpenDatabase &database() const { return *m_database; }
    // The slot of row `row`, 0 to rowCount() - 1.
    int slotAt(int row) const { return m_slots[std::size_t(row)]; }
    // The row of `slot`, or -1 when the slot holds no text.
    int rowOfSlot(int slot) const;

private:
    void rebuild();
    void resetNow();
    // Whether one more row may be inserted or removed on its own in this turn.
    bool takeRowSignal();
    void followCellChange(int slot);
    void followSerialPeers(const QList<int> &peers);
    QString note(int slot) const;

    // Null once the database is gone: the list is then empty.
    const userdb::OpenDatabase *m_database;
    std::vector<int> m_slots; // the listed slots, ascending
    int m_rowSignalsThisTurn = 0;
    bool m_resetPending = false; // a burst is going on: one reset when it is over
};

} // namespace app
