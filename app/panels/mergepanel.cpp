#include "app/panels/mergepanel.h"

#include "ui_mergepanel.h"

namespace app {

MergePanel::MergePanel(QWidget *parent)
    : QGroupBox(parent)
    , ui(std::make_unique<Ui::MergePanel>()) {
    ui->setupUi(this);
    connect(ui->cmdMergeDatabase, &QPushButton::clicked, this, &MergePanel::mergeClicked);
    connect(ui->MergeExitImage, &QToolButton::clicked, this, &MergePanel::closeClicked);
}

MergePanel::~MergePanel() = default;

userdb::MergeOptions MergePanel::options() const {
    return {ui->chkDelMissing->isChecked(), ui->chkAddExtra->isChecked()};
}

} // namespace app
