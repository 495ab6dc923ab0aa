// The window's database commands: the slot editor's handlers, the file commands, sorting,
// merging and the bulk serial fill.
#include "app/fieldinput.h"
#include "app/mainwindow.h"
#include "app/sloteditor.h"
#include "platform/dialogs.h"
#include "userdb/bulkfill.h"
#include "userdb/databasefile.h"
#include "userdb/fieldrules.h"
#include "userdb/merge.h"
#include "userdb/sort.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

namespace app {

namespace {
const QString UntitledName = QStringLiteral("Untitled.fxd");
}

int MainWindow::Remlet_Count() const {
    return userdb::usedSlotCount(m_records);
}

int MainWindow::Temp_Remlet_Count() const {
    return userdb::usedSlotCount(m_mergeBuffer);
}

// ---- slot editor ----

void MainWindow::ShowSlot() {
    fraTXUsers->showRecord(m_records, EditSlotNumber);
    fraTXUsers->lblRemletCount->setText(QString::number(Remlet_Count()));
}

void MainWindow::setSlotSelector(int value) {
    // Raises hscSlot_Change only when the value really changes.
    fraTXUsers->hscSlot->setValue(value);
}

void MainWindow::hscSlot_Change(int value) {
    EditSlotNumber = value;
    fraTXUsers->lblUserSlot->setText(QString::number(value));
    ShowSlot();
}

void MainWindow::txtRemlet_LostFocus() {
    if (!fraTXUsers->isVisible() || !fraTXUsers->isEnabled())
        return;
    // Checked now, for the slot that was being edited, before the click or key that left the
    // box changes the slot or runs a command.
    const QString serial = fraTXUsers->txtRemlet->text();
    m_records.setCell(EditSlotNumber, userdb::SerialNumber, serial);
    if (!userdb::serialNeedsWarning(serial))
        return;
    // The short serial stays stored: the check only warns. The box opens once the event that
    // left the serial box is over, never in the middle of focus or mouse handling.
    QTimer::singleShot(0, this, &MainWindow::showSerialWarning);
}

void MainWindow::showSerialWarning() {
    reportFailure(userdb::serialWarningText());
    if (fraTXUsers->isVisible() && fraTXUsers->isEnabled())
        fraTXUsers->txtRemlet->setFocus(Qt::OtherFocusReason);
}

// ---- file commands ----

void MainWindow::mnuNewDatabase_Click() {
    m_services.fileDialog.setFileName(UntitledName);
    DatabaseFilename = UntitledName;
    setDatabaseTitle(UntitledName);
    m_records.clear();
    EditSlotNumber = 1;
    setSlotSelector(1);
    ShowSlot();
    applyCommandEvent(CommandEvent::DatabaseOpened, *this);
}

void MainWindow::mnuLoadDatabase_Click() {
    m_services.fileDialog.setFileName(QString());
    if (!m_services.fileDialog.showOpen())
        return;
    const QString chosen = m_services.fileDialog.fileName();
    // Read into a fresh store first: a file that fails leaves the open database as it was.
    auto fresh = std::make_unique<userdb::RecordStore>();
    const userdb::LoadResult result = userdb::loadDatabaseFile(chosen, *fresh);
    if (!result.error.isEmpty()) {
        reportFailure(result.error);
        return;
    }
    DatabaseFilename = chosen;
    setDatabaseTitle(chosen);
    m_records = std::move(*fresh);
    fraTXUsers->txtDatabaseAddress->setAddressText(result.address);
    EditSlotNumber = 1;
    setSlotSelector(1);
    ShowSlot();
    applyCommandEvent(CommandEvent::DatabaseOpened, *this);
}

bool MainWindow::SaveDatabaseFile() {
    const QString error = userdb::saveDatabaseFile(
        DatabaseFilename, fraTXUsers->txtDatabaseAddress->addressText(), m_records);
    if (error.isEmpty())
        return true;
    reportFailure(error);
    return false;
}

void MainWindow::mnuSaveDatabase_Click() {
    SaveDatabaseFile();
}

void MainWindow::mnuSaveDatabaseAs_Click() {
    // The dialog proposes the name it last held.
    if (!m_services.fileDialog.showSave())
        return;
    const QString previous = DatabaseFilename;
    DatabaseFilename = m_services.fileDialog.fileName();
    if (!SaveDatabaseFile()) {
        // The database stays under the name it had; the chosen file was never written.
        DatabaseFilename = previous;
        return;
    }
    setDatabaseTitle(DatabaseFilename);
}

void MainWindow::mnuCloseDatabase_Click() {
    resetTitle();
    applyCommandEvent(CommandEvent::DatabaseClosed, *this);
}

void MainWindow::imgDatabaseExit_Click() {
    runCommand(Command::CloseDatabase);
}

// ---- panels ----

void MainWindow::mnuSortDatabase_Click() {
    fraSort->show();
}

void MainWindow::imgSortExit_Click() {
    fraSort->hide();
}

void MainWindow::mnuMergeDatabase_Click() {
    fraMergeDatabase->show();
}

void MainWindow::MergeExitImage_Click() {
    fraMergeDatabase->hide();
}

// ---- sorting ----

int MainWindow::selectedSortColumn() const {
    for (auto it = m_sortOptions.cbegin(); it != m_sortOptions.cend(); ++it)
        if (it.value()->isChecked())
            return it.key();
    return userdb::Surname;
}

void MainWindow::BubbleSort() {
    // The sort runs to its end without yielding, so no command can change slots 1 to 340
    // between reading them and writing the new order back.
    fraTXUsers->setEnabled(false);
    fraSort->setEnabled(false);
    showProgress(1, 340);
    userdb::sortSlots(m_records, selectedSortColumn());
    setProgress(340);
    hideProgress();
    fraTXUsers->setEnabled(true);
    fraSort->setEnabled(true);
}

void MainWindow::cmdSortNow_Click() {
    if (refuseWhileTransferring())
        return;
    BubbleSort();
    EditSlotNumber = 1;
    setSlotSelector(1);
    ShowSlot();
    fraSort->hide();
}

// ---- merging ----

void MainWindow::cmdMergeDatabase_Click() {
    if (refuseWhileTransferring())
        return;
    if (m_services.fileDialog.showOpen()) {
        const QString chosen = m_services.fileDialog.fileName();
        auto fresh = std::make_unique<userdb::RecordStore>();
        const userdb::LoadResult result = userdb::loadDatabaseFile(chosen, *fresh);
        if (!result.error.isEmpty()) {
            // Nothing changes: not the open database, its file name nor the last count.
            reportFailure(result.error);
        } else {
            // From now on the merged file is the current database file, and the title says so:
            // nobody should overwrite a file without seeing its name.
            DatabaseFilename = chosen;
            setDatabaseTitle(chosen);
            m_mergeBuffer = std::move(*fresh);
            Label4->setText(QString::number(Temp_Remlet_Count()));
            userdb::mergeDatabases(m_records, m_mergeBuffer,
                                   {chkDelMissing->isChecked(), chkAddExtra->isChecked()});
            setSlotSelector(1);
            ShowSlot();
        }
    }
    fraMergeDatabase->hide();
}

// ---- bulk fill ----

void MainWindow::cmdBulk_Click() {
    if (refuseWhileTransferring())
        return;
    const userdb::BulkFillResult result = userdb::bulkFill(
        m_records, txtSerialStart->text(), txtNumberFill->text(), fraTXUsers->hscSlot->maximum());
    if (!result.error.isEmpty()) {
        reportFailure(result.error);
        return;
    }
    if (!result.changed)
        return;
    setSlotSelector(result.lastSlot);
    ShowSlot();
}

} // namespace app
