#include "app/userlist/userlistfilter.h"

#include "app/userlist/userlistmodel.h"
#include "userdb/opendatabase.h"

namespace app {

namespace {} // namespace

UserListFilter::UserListFilter(UserListModel &model, QObject *parent)
    : QSortFilterProxyModel(parent)
    , m_model(model) {
    setSourceModel(&model);
    setSortRole(UserListModel::SortRole);
    setSortCaseSensitivity(Qt::CaseInsensitive);
    setDynamicSortFilter(true);
    m_finder.setCaseSensitivity(Qt::CaseInsensitive);
}

void UserListFilter::setFindText(const QString &text) {
    const QString trimmed = text.trimmed();
    if (trimmed == m_findText)
        return;
    m_findText = trimmed;
    m_finder.setPattern(trimmed);
    refilter();
}

void UserListFilter::setDuplicatesOnly(bool on) {
    if (on == m_duplicatesOnly)
        return;
    m_duplicatesOnly = on;
    refilter();
}

void UserListFilter::refilter() {
    // One layout change rather than a removal or insertion per run of rows: a key typed in the
    // find box changes rows all over 4095 slots, and the table takes every run on its own.
    invalidate();
}

int UserListFilter::slotAt(int row) const {
    const QModelIndex source = mapToSource(index(row, 0));
    return source.isValid() ? m_model.slotAt(source.row()) : 0;
}

bool UserListFilter::filterAcceptsRow(int sourceRow, const QModelIndex &) const {
    const int slot = m_model.slotAt(sourceRow);
    const userdb::OpenDatabase &database = m_model.database();
    if (m_duplicatesOnly && !database.serials().isDuplicated(slot))
        return false;
    if (m_findText.isEmpty())
        return true;
    for (int column = 1; column <= userdb::ColumnCount; ++column)
        if (m_finder.indexIn(database.cell(slot, column)) >= 0)
            return true;
    return false;
}

bool UserListFilter::lessThan(const QModelIndex &left, const QModelIndex &right) const {
    const int column = left.column();
    const int leftSlot = m_model.slotAt(left.row());
    const int rightSlot = m_model.slotAt(right.row());
    if (column == UserListModel::SlotColumn)
        return leftSlot < rightSlot;
    if (column == UserListModel::NoteColumn)
        return QSortFilterProxyModel::lessThan(left, right);
    const userdb::OpenDatabase &database = m_model.database();
    return QString::compare(database.cell(leftSlot, column), database.cell(rightSlot, column),
                            Qt::CaseInsensitive) < 0;
}

} // namespace app
