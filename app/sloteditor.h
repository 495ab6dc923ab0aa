#pragma once

#include <QGroupBox>
#include <QHash>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QScrollBar;

namespace platform {
class Dialogs;
}
namespace userdb {
class RecordStore;
}

namespace app {

class AddressEdit;
class ClickableImage;

// The slot editor frame: the slot selector, one box per field, the slot number and the
// used-slot count. It only shows and collects; the window decides what an edit does.
class SlotEditor : public QGroupBox {
    Q_OBJECT
public:
    SlotEditor(platform::Dialogs &dialogs, QWidget *parent);

    QScrollBar *hscSlot;
    QLabel *lblUserSlot;
    QLabel *lblRemletCount;
    QLineEdit *txtRemlet;
    QComboBox *cboState;
    AddressEdit *txtDatabaseAddress;
    ClickableImage *imgDatabaseExit;

    // The box that edits `column` (1 and 3 to 13); the State box's line edit for column 8.
    QLineEdit *fieldEdit(int column) const { return m_fields.value(column); }
    // Copies columns 1 and 3 to 13 of `slot` into the boxes, whole.
    void showRecord(const userdb::RecordStore &store, int slot);

signals:
    void fieldEdited(int column, const QString &text);
    // The user leaves the serial box: by the focus, or by moving the slot scroll bar while
    // the box has the focus. Emitted before the slot changes or a clicked command acts.
    void serialBoxLeft();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *addField(QGridLayout *grid, int row, int column, const QString &name,
                        const QString &caption, platform::Dialogs &dialogs);

    QHash<int, QLineEdit *> m_fields;
};

} // namespace app
