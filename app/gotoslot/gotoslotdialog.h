#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class GoToSlotDialog;
}

namespace app {

// "Go to Slot": a number box from 1 to the editor's last slot; Enter (or OK) chooses the slot
// typed, Escape (or Cancel) chooses nothing.
class GoToSlotDialog : public QDialog {
    Q_OBJECT
public:
    // Offers slots 1 to `lastSlot`, starting from `current` with its text selected, so typing
    // replaces it.
    GoToSlotDialog(int lastSlot, int current, QWidget *parent = nullptr);
    ~GoToSlotDialog() override;

    int slotNumber() const;

    // Asks modally; the slot chosen, or 0 when cancelled.
    static int ask(QWidget *parent, int lastSlot, int current);

signals:
    // On Enter or OK, just before the dialog closes.
    void slotChosen(int slot);

public slots:
    void accept() override;

private:
    std::unique_ptr<Ui::GoToSlotDialog> m_ui;
};

} // namespace app
