#include "app/editor/sloteditor.h"

#include "app/editor/fieldinput.h"
#include "ui_sloteditor.h"
#include "userdb/fieldrules.h"
#include "userdb/recordstore.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QShortcut>

namespace app {

using namespace userdb;

SlotEditor::SlotEditor(QWidget *parent)
    : QGroupBox(parent)
    , ui(std::make_unique<Ui::SlotEditor>()) {
    ui->setupUi(this);
    m_fields = {
        {SerialNumber, ui->txtRemlet},       {Surname, ui->txtSurname},
        {OtherNames, ui->txtOtherNames},     {Address1, ui->txtAddress1},
        {Address2, ui->txtAddress2},         {Suburb, ui->txtSuburb},
        {State, ui->cboState->lineEdit()},   {PostCode, ui->txtPostCode},
        {Telephone, ui->txtTelephone},       {Mobile, ui->txtMobile},
        {OtherDetail1, ui->TxtOtherDetail1}, {OtherDetail2, ui->txtOtherDetail2},
    };
    // Without a completer the State box stores exactly what is typed: inline completion and
    // case-blind matching would turn "S" into "SA" and "nsw" into "NSW".
    ui->cboState->setCompleter(nullptr);
    // The parts of composite boxes are named too, for a screen reader.
    ui->cboState->lineEdit()->setAccessibleName(ui->cboState->accessibleName());
    ui->txtDatabaseAddress->verticalScrollBar()->setAccessibleName(
        QStringLiteral("Scroll the database address"));
    ui->txtDatabaseAddress->horizontalScrollBar()->setAccessibleName(
        QStringLiteral("Scroll the database address sideways"));
    ui->cboState->setCurrentIndex(-1);
    ui->cboState->lineEdit()->clear();
    guardFields();

    // Two lines of the address stay visible whatever the font.
    const int frame = 2 * ui->txtDatabaseAddress->frameWidth() +
                      int(ui->txtDatabaseAddress->document()->documentMargin() * 2);
    ui->txtDatabaseAddress->setMinimumHeight(2 * fontMetrics().lineSpacing() + frame);
    ui->txtDatabaseAddress->setMaximumHeight(3 * fontMetrics().lineSpacing() + frame);

    ui->txtRemlet->installEventFilter(this);
    ui->hscSlot->installEventFilter(this);
    // The scroll bar may be moved while the serial box keeps the focus: that leaves the box
    // all the same, and the box is checked before the slot changes.
    connect(ui->hscSlot, &QScrollBar::actionTriggered, this, [this] {
        if (ui->txtRemlet->hasFocus())
            emit serialBoxLeft();
    });
    connect(ui->imgDatabaseExit, &QToolButton::clicked, this, &SlotEditor::closeClicked);
    connect(ui->txtDatabaseAddress, &AddressEdit::characterRefused, this,
            &SlotEditor::characterRefused);
    connect(ui->txtDatabaseAddress, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_showingAddress)
            emit addressEdited();
    });

    // The next and previous slot from any field.
    auto *next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown), this);
    auto *previous = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp), this);
    next->setContext(Qt::WidgetWithChildrenShortcut);
    previous->setContext(Qt::WidgetWithChildrenShortcut);
    connect(next, &QShortcut::activated, this, [this] { stepSlot(1); });
    connect(previous, &QShortcut::activated, this, [this] { stepSlot(-1); });
}

SlotEditor::~SlotEditor() = default;

void SlotEditor::guardFields() {
    const RefusalHandler refused = [this] { emit characterRefused(); };
    for (auto it = m_fields.cbegin(); it != m_fields.cend(); ++it) {
        const int column = it.key();
        guardLineEdit(it.value(), fieldKindOfColumn(column), maxTypedLengthOfColumn(column),
                      refused);
        // Typing and, for the State box, choosing an entry both change the edit's text.
        connect(it.value(), &QLineEdit::textChanged, this,
                [this, column](const QString &text) { emit fieldEdited(column, text); });
    }
}

void SlotEditor::stepSlot(int steps) {
    // Triggered like a scroll bar action, so the serial box is checked first.
    ui->hscSlot->triggerAction(steps > 0 ? QAbstractSlider::SliderSingleStepAdd
                                         : QAbstractSlider::SliderSingleStepSub);
}

QScrollBar *SlotEditor::slotSelector() const {
    return ui->hscSlot;
}

void SlotEditor::showRecord(const RecordStore &store, int slot) {
    for (auto it = m_fields.cbegin(); it != m_fields.cend(); ++it)
        showProgramText(it.value(), store.cell(slot, it.key()));
}

void SlotEditor::showSlotNumber(int slot) {
    ui->lblUserSlot->setText(QString::number(slot));
}

void SlotEditor::showUsedSlotCount(int count) {
    ui->lblRemletCount->setText(QString::number(count));
}

QString SlotEditor::databaseAddress() const {
    return ui->txtDatabaseAddress->addressText();
}

void SlotEditor::setDatabaseAddress(const QString &address) {
    const QScopedValueRollback<bool> showing(m_showingAddress, true);
    ui->txtDatabaseAddress->setAddressText(address);
}

bool SlotEditor::eventFilter(QObject *watched, QEvent *event) {
    // The arrow keys along a horizontal scroll bar step one slot; Qt's slider leaves them to
    // its vertical sibling.
    if (watched == ui->hscSlot && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Left || key == Qt::Key_Right) {
            stepSlot(key == Qt::Key_Right ? 1 : -1);
            return true;
        }
    }
    if (watched == ui->txtRemlet && event->type() == QEvent::FocusOut) {
        // Switching to another window or opening a menu is not leaving the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            emit serialBoxLeft();
    }
    return QGroupBox::eventFilter(watched, event);
}

} // namespace app
