#include "app/panels/sizeframe.h"

#include "ui_sizeframe.h"

namespace app {

using proglink::MemorySize;

SizeFrame::SizeFrame(QWidget *parent)
    : QGroupBox(parent)
    , ui(std::make_unique<Ui::SizeFrame>()) {
    ui->setupUi(this);
    const std::pair<QRadioButton *, MemorySize> options[] = {
        {ui->optRX340Slot, MemorySize::Receiver340},
        {ui->optRX85Slot, MemorySize::Receiver85},
        {ui->optTag340Slot, MemorySize::Tag340},
        {ui->optTAG85Slot, MemorySize::Tag85},
    };
    for (const auto &option : options) {
        const MemorySize size = option.second;
        connect(option.first, &QRadioButton::clicked, this,
                [this, size] { emit sizeClicked(size); });
    }
}

SizeFrame::~SizeFrame() = default;

MemorySize SizeFrame::receiverSize() const {
    return ui->optRX85Slot->isChecked() ? MemorySize::Receiver85 : MemorySize::Receiver340;
}

MemorySize SizeFrame::tagSize() const {
    return ui->optTAG85Slot->isChecked() ? MemorySize::Tag85 : MemorySize::Tag340;
}

void SizeFrame::select(MemorySize size) {
    switch (size) {
    case MemorySize::Receiver340:
        ui->optRX340Slot->setChecked(true);
        break;
    case MemorySize::Receiver85:
        ui->optRX85Slot->setChecked(true);
        break;
    case MemorySize::Tag340:
        ui->optTag340Slot->setChecked(true);
        break;
    case MemorySize::Tag85:
        ui->optTAG85Slot->setChecked(true);
        break;
    }
}

} // namespace app
