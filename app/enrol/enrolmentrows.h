#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QTime>

namespace app {

// The rows of the "Enrol Fobs" window, oldest first: when, which fob, what became of it. One
// line of text each, so that a screen reader reads a row as a whole.
class EnrolmentRows : public QAbstractListModel {
    Q_OBJECT
public:
    struct Row {
        QTime time;
        QString serial;  // empty for a row about the enrolment itself
        QString outcome; // "Slot 17", "already in slot 2", "No free slot"...
    };

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // Adds a row at the end and returns its index.
    QModelIndex append(Row row);
    const Row &row(int number) const { return m_rows.at(number); }

    // "14:02:07  1A2B3C4D  Slot 17".
    static QString textOf(const Row &row);

private:
    QList<Row> m_rows;
};

} // namespace app
