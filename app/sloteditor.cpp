#include "app/sloteditor.h"

#include "app/clickableimage.h"
#include "app/fieldinput.h"
#include "userdb/fieldrules.h"
#include "userdb/recordstore.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

namespace app {

using namespace userdb;

SlotEditor::SlotEditor(platform::Dialogs &dialogs, QWidget *parent)
    : QGroupBox(QStringLiteral("Remlet Users"), parent) {
    setObjectName(QStringLiteral("fraTXUsers"));
    auto *grid = new QGridLayout(this);

    auto *lblSlot = new QLabel(QStringLiteral("Slot #"), this);
    lblSlot->setObjectName(QStringLiteral("lblSlot"));
    lblUserSlot = new QLabel(this);
    lblUserSlot->setObjectName(QStringLiteral("lblUserSlot"));
    lblUserSlot->setMinimumWidth(40);
    hscSlot = new QScrollBar(Qt::Horizontal, this);
    hscSlot->setObjectName(QStringLiteral("hscSlot"));
    hscSlot->setAccessibleName(QStringLiteral("Slot"));
    hscSlot->setRange(1, 340);
    hscSlot->setValue(1);
    hscSlot->setPageStep(10);
    imgDatabaseExit = new ClickableImage(QStringLiteral("imgDatabaseExit"),
                                         QStringLiteral("Close Database"), this);
    auto *slotRow = new QHBoxLayout;
    slotRow->addWidget(lblSlot);
    slotRow->addWidget(lblUserSlot);
    slotRow->addWidget(hscSlot, 1);
    slotRow->addWidget(imgDatabaseExit);
    grid->addLayout(slotRow, 0, 0, 1, 4);

    txtRemlet = addField(grid, 1, SerialNumber, QStringLiteral("txtRemlet"),
                         QStringLiteral("Serial Number"), dialogs);
    auto *countCaption = new QLabel(QStringLiteral("Number of Remlets"), this);
    lblRemletCount = new QLabel(QStringLiteral("0"), this);
    lblRemletCount->setObjectName(QStringLiteral("lblRemletCount"));
    grid->addWidget(countCaption, 1, 2);
    grid->addWidget(lblRemletCount, 1, 3);

    addField(grid, 2, Surname, QStringLiteral("txtSurname"), QStringLiteral("Surname"), dialogs);
    addField(grid, 3, OtherNames, QStringLiteral("txtOtherNames"), QStringLiteral("Other Names"),
             dialogs);
    addField(grid, 4, Address1, QStringLiteral("txtAddress1"), QStringLiteral("Address 1"),
             dialogs);
    addField(grid, 5, Address2, QStringLiteral("txtAddress2"), QStringLiteral("Address 2"),
             dialogs);
    addField(grid, 6, Suburb, QStringLiteral("txtSuburb"), QStringLiteral("Suburb"), dialogs);

    cboState = new QComboBox(this);
    cboState->setObjectName(QStringLiteral("cboState"));
    cboState->setEditable(true);
    cboState->setInsertPolicy(QComboBox::NoInsert);
    // Without a completer the box stores exactly what is typed: inline completion and
    // case-blind matching would turn "S" into "SA" and "nsw" into "NSW".
    cboState->setCompleter(nullptr);
    cboState->addItems(stateChoices());
    cboState->setCurrentIndex(-1);
    cboState->setAccessibleName(QStringLiteral("State"));
    auto *stateLabel = new QLabel(QStringLiteral("State"), this);
    stateLabel->setBuddy(cboState);
    grid->addWidget(stateLabel, 7, 0);
    grid->addWidget(cboState, 7, 1);
    QLineEdit *stateEdit = cboState->lineEdit();
    stateEdit->setText(QString());
    guardLineEdit(stateEdit, FieldKind::State, maxTypedLengthOfColumn(State), dialogs);
    m_fields.insert(State, stateEdit);
    // Choosing an entry and typing both change the edit's text.
    connect(stateEdit, &QLineEdit::textChanged, this,
            [this](const QString &text) { emit fieldEdited(State, text); });

    addField(grid, 8, PostCode, QStringLiteral("txtPostCode"), QStringLiteral("Post Code"),
             dialogs);
    addField(grid, 9, Telephone, QStringLiteral("txtTelephone"), QStringLiteral("Telephone"),
             dialogs);
    addField(grid, 10, Mobile, QStringLiteral("txtMobile"), QStringLiteral("Mobile"), dialogs);
    addField(grid, 11, OtherDetail1, QStringLiteral("TxtOtherDetail1"),
             QStringLiteral("Other Datail 1"), dialogs);
    addField(grid, 12, OtherDetail2, QStringLiteral("txtOtherDetail2"),
             QStringLiteral("Other Detail 2"), dialogs);

    auto *addressLabel = new QLabel(QStringLiteral("Database Address"), this);
    txtDatabaseAddress = new AddressEdit(dialogs, this);
    txtDatabaseAddress->setObjectName(QStringLiteral("txtDatabaseAddress"));
    txtDatabaseAddress->setAccessibleName(QStringLiteral("Database Address"));
    txtDatabaseAddress->setMaximumHeight(70);
    grid->addWidget(addressLabel, 13, 0);
    grid->addWidget(txtDatabaseAddress, 13, 1, 1, 3);

    grid->setColumnStretch(1, 1);
    txtRemlet->installEventFilter(this);
    // The scroll bar does not take the focus: moving it leaves the serial box all the same,
    // and the box must be checked before the slot changes.
    connect(hscSlot, &QScrollBar::actionTriggered, this, [this] {
        if (txtRemlet->hasFocus())
            emit serialBoxLeft();
    });
}

QLineEdit *SlotEditor::addField(QGridLayout *grid, int row, int column, const QString &name,
                                const QString &caption, platform::Dialogs &dialogs) {
    auto *edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setAccessibleName(caption);
    auto *label = new QLabel(caption, this);
    label->setBuddy(edit);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1, 1, column == SerialNumber ? 1 : 3);
    guardLineEdit(edit, fieldKindOfColumn(column), maxTypedLengthOfColumn(column), dialogs);
    m_fields.insert(column, edit);
    connect(edit, &QLineEdit::textChanged, this,
            [this, column](const QString &text) { emit fieldEdited(column, text); });
    return edit;
}

void SlotEditor::showRecord(const RecordStore &store, int slot) {
    for (int column : {SerialNumber, Surname, OtherNames, Address1, Address2, Suburb, State,
                       PostCode, Telephone, Mobile, OtherDetail1, OtherDetail2})
        showProgramText(m_fields.value(column), store.cell(slot, column));
}

bool SlotEditor::eventFilter(QObject *watched, QEvent *event) {
    if (watched == txtRemlet && event->type() == QEvent::FocusOut) {
        // Switching to another window or opening a menu is not leaving the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            emit serialBoxLeft();
    }
    return QGroupBox::eventFilter(watched, event);
}

} // namespace app
