#include "app/panels/bulkpanel.h"

#include "app/editor/fieldinput.h"
#include "ui_bulkpanel.h"

namespace app {

BulkPanel::BulkPanel(QWidget *parent)
    : QGroupBox(parent)
    , ui(std::make_unique<Ui::BulkPanel>()) {
    ui->setupUi(this);
    // The start serial takes what the serial box takes; the count is read as a number later.
    guardLineEdit(ui->txtSerialStart, userdb::FieldKind::SerialNumber,
                  userdb::maxTypedLength(userdb::FieldKind::SerialNumber),
                  [this] { emit characterRefused(); });
    connect(ui->cmdBulk, &QPushButton::clicked, this, &BulkPanel::bulkClicked);
}

BulkPanel::~BulkPanel() = default;

QString BulkPanel::startSerial() const {
    return ui->txtSerialStart->text();
}

QString BulkPanel::count() const {
    return ui->txtNumberFill->text();
}

void BulkPanel::focusFirstField() {
    ui->txtSerialStart->setFocus(Qt::OtherFocusReason);
}

} // namespace app
