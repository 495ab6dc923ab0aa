// The slot editor's handlers: the slot shown, the used-slot count and the serial check.
#include "app/mainwindow.h"
#include "app/statuspanel.h"
#include "app/userlist/duplicatenotes.h"
#include "ui_mainwindow.h"
#include "userdb/fieldrules.h"

#include <QScrollBar>
#include <QTimer>

namespace app {

int MainWindow::Remlet_Count() const {
    return userdb::usedSlotCount(m_database.records());
}

int MainWindow::Temp_Remlet_Count() const {
    return userdb::usedSlotCount(m_mergeBuffer);
}

void MainWindow::ShowSlot() {
    ui->fraTXUsers->showRecord(m_database.records(), m_editSlotNumber);
    ui->fraTXUsers->showUsedSlotCount(Remlet_Count());
}

void MainWindow::setSlotSelector(int value) {
    // Raises hscSlot_Change only when the value really changes.
    ui->fraTXUsers->slotSelector()->setValue(value);
}

void MainWindow::showSlotOne() {
    m_editSlotNumber = 1;
    setSlotSelector(1);
    ShowSlot();
}

void MainWindow::hscSlot_Change(int value) {
    m_editSlotNumber = value;
    ui->fraTXUsers->showSlotNumber(value);
    ShowSlot();
}

void MainWindow::txtRemlet_LostFocus() {
    if (!ui->fraTXUsers->isVisible() || !ui->fraTXUsers->isEnabled())
        return;
    // Checked now, for the slot that was being edited, before the click or key that left the
    // box changes the slot or runs a command.
    checkSerialOfSlot();
}

void MainWindow::checkSerialOfSlot() {
    const QString serial = ui->fraTXUsers->serialBox()->text();
    m_database.setCell(m_editSlotNumber, userdb::SerialNumber, serial);
    // A fob enrolled twice is a mistake the device would store twice: say so, without a box.
    const QString note =
        serialAlsoInNote(serial, m_database.otherSlotsWithSerial(serial, m_editSlotNumber));
    if (!note.isEmpty())
        m_panels[1]->showNotice(note);
    if (!userdb::serialNeedsWarning(serial))
        return;
    // The short serial stays stored: the check only warns. The box opens once the event that
    // left the serial box is over, never in the middle of focus or mouse handling.
    QTimer::singleShot(0, this, &MainWindow::showSerialWarning);
}

void MainWindow::showSerialWarning() {
    reportFailure(userdb::serialWarningText());
    if (ui->fraTXUsers->isVisible() && ui->fraTXUsers->isEnabled())
        ui->fraTXUsers->serialBox()->setFocus(Qt::OtherFocusReason);
}

} // namespace app
