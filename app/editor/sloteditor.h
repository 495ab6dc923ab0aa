#pragma once

#include <QGroupBox>
#include <QHash>

#include <memory>

class QLineEdit;
class QScrollBar;

namespace userdb {
class RecordStore;
}

namespace Ui {
class SlotEditor;
}

namespace app {

// The slot editor frame: the slot selector, one box per field, the slot number and the
// used-slot count. It only shows and collects; the window decides what an edit does.
class SlotEditor : public QGroupBox {
    Q_OBJECT
public:
    explicit SlotEditor(QWidget *parent = nullptr);
    ~SlotEditor() override;

    QScrollBar *slotSelector() const;
    // The box that edits `column` (1 and 3 to 13); the State box's line edit for column 8.
    QLineEdit *fieldEdit(int column) const { return m_fields.value(column); }
    QLineEdit *serialBox() const { return fieldEdit(1); }

    // Copies columns 1 and 3 to 13 of `slot` into the boxes, whole.
    void showRecord(const userdb::RecordStore &store, int slot);
    void showSlotNumber(int slot);
    void showUsedSlotCount(int count);

    QString databaseAddress() const;
    void setDatabaseAddress(const QString &address);

signals:
    void fieldEdited(int column, const QString &text);
    // The user leaves the serial box: by the focus, or by changing the slot from the keyboard
    // or the scroll bar while the box has the focus. Emitted before the slot changes or a
    // clicked command acts.
    void serialBoxLeft();
    void closeClicked();
    void characterRefused();
    // The user changed the database address.
    void addressEdited();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void guardFields();
    void stepSlot(int steps);

    std::unique_ptr<Ui::SlotEditor> ui;
    QHash<int, QLineEdit *> m_fields;
    bool m_showingAddress = false; // the program, not the user, changes the address
};

} // namespace app
