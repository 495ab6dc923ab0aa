#pragma once

#include <QSortFilterProxyModel>
#include <QStringMatcher>

namespace app {

class UserListModel;

// What the user list shows of the model: the rows that hold the find text (letter case
// ignored) in any of the 13 fields, from the serial number to Other Detail 2; with
// "duplicates only", just the rows whose serial another slot holds too. Clicking a column
// header orders this view only: the slots stay as they are.
class UserListFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit UserListFilter(UserListModel &model, QObject *parent = nullptr);

    QString findText() const { return m_findText; }
    // Leading and trailing spaces are ignored; empty text finds every row.
    void setFindText(const QString &text);
    bool duplicatesOnly() const { return m_duplicatesOnly; }
    void setDuplicatesOnly(bool on);

    // The slot shown in row `row` of this view; 0 for a row that is not there.
    int slotAt(int row) const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;
    // As the model's sort role orders, read straight from the records: a header click on
    // 4095 rows makes some 100,000 comparisons.
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    void refilter();

    UserListModel &m_model;
    QString m_findText;
    QStringMatcher m_finder;
    bool m_duplicatesOnly = false;
};

} // namespace app
