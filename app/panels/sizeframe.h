#pragma once

#include "link/memorysize.h"

#include <QGroupBox>

#include <memory>

namespace Ui {
class SizeFrame;
}

namespace app {

// The memory capacity frame: the receiver's and the tag's size options.
class SizeFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit SizeFrame(QWidget *parent = nullptr);
    ~SizeFrame() override;

    proglink::MemorySize receiverSize() const;
    proglink::MemorySize tagSize() const;
    // Selects the option of `size` (the other option of its frame is deselected).
    void select(proglink::MemorySize size);

signals:
    // The user clicked an option; it is already selected.
    void sizeClicked(proglink::MemorySize size);

private:
    std::unique_ptr<Ui::SizeFrame> ui;
};

} // namespace app
