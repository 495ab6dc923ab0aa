#include "app/gotoslot/gotoslotdialog.h"

#include "ui_gotoslotdialog.h"

#include <algorithm>

namespace app {

GoToSlotDialog::GoToSlotDialog(int lastSlot, int current, QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::GoToSlotDialog>()) {
    m_ui->setupUi(this);
    m_ui->spnSlot->setRange(1, std::max(1, lastSlot));
    m_ui->spnSlot->setValue(current);
    m_ui->spnSlot->selectAll();
    connect(m_ui->buttons, &QDialogButtonBox::accepted, this, &GoToSlotDialog::accept);
    connect(m_ui->buttons, &QDialogButtonBox::rejected, this, &GoToSlotDialog::reject);
}

GoToSlotDialog::~GoToSlotDialog() = default;

int GoToSlotDialog::slotNumber() const {
    return m_ui->spnSlot->value();
}

void GoToSlotDialog::accept() {
    // Text typed but not yet taken (Enter on the button, not in the box) counts too.
    m_ui->spnSlot->interpretText();
    emit slotChosen(slotNumber());
    QDialog::accept();
}

int GoToSlotDialog::ask(QWidget *parent, int lastSlot, int current) {
    GoToSlotDialog dialog(lastSlot, current, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.slotNumber() : 0;
}

} // namespace app
