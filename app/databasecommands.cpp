// The window's database commands: the slot editor's handlers, the file commands, sorting,
// merging and the bulk serial fill.
#include "app/compare/comparisonwindow.h"
#include "app/mainwindow.h"
#include "app/statuspanel.h"
#include "app/userlist/duplicatenotes.h"
#include "app/userlist/userlistwindow.h"
#include "platform/dialogs.h"
#include "ui_mainwindow.h"
#include "userdb/bulkfill.h"
#include "userdb/databasefile.h"
#include "userdb/fieldrules.h"
#include "userdb/merge.h"
#include "userdb/sort.h"

#include <QScrollBar>
#include <QTimer>

namespace app {

namespace {
const QString UntitledName = QStringLiteral("Untitled.fxd");
}

int MainWindow::Remlet_Count() const {
    return userdb::usedSlotCount(m_database.records());
}

int MainWindow::Temp_Remlet_Count() const {
    return userdb::usedSlotCount(m_mergeBuffer);
}

// ---- slot editor ----

void MainWindow::ShowSlot() {
    ui->fraTXUsers->showRecord(m_database.records(), EditSlotNumber);
    ui->fraTXUsers->showUsedSlotCount(Remlet_Count());
}

void MainWindow::setSlotSelector(int value) {
    // Raises hscSlot_Change only when the value really changes.
    ui->fraTXUsers->slotSelector()->setValue(value);
}

void MainWindow::hscSlot_Change(int value) {
    EditSlotNumber = value;
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
    m_database.setCell(EditSlotNumber, userdb::SerialNumber, serial);
    // A fob enrolled twice is a mistake the device would store twice: say so, without a box.
    const QString note =
        serialAlsoInNote(serial, m_database.otherSlotsWithSerial(serial, EditSlotNumber));
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

// ---- file commands ----

void MainWindow::showSlotOne() {
    EditSlotNumber = 1;
    setSlotSelector(1);
    ShowSlot();
}

void MainWindow::openDatabase(const QString &fileName, userdb::RecordStore records,
                              const QString &address) {
    DatabaseFilename = fileName;
    setDatabaseTitle(fileName);
    m_database.replaceRecords(std::move(records));
    ui->fraTXUsers->setDatabaseAddress(address);
    showSlotOne();
    applyCommandEvent(CommandEvent::DatabaseOpened, *this);
}

void MainWindow::mnuNewDatabase_Click() {
    m_services.fileDialog.setFileName(UntitledName);
    DatabaseFilename = UntitledName;
    setDatabaseTitle(UntitledName);
    m_database.clearRecords(); // the address box keeps its text
    showSlotOne();
    applyCommandEvent(CommandEvent::DatabaseOpened, *this);
}

void MainWindow::mnuLoadDatabase_Click() {
    m_services.fileDialog.setFileName(QString());
    if (!m_services.fileDialog.showOpen())
        return;
    const QString chosen = m_services.fileDialog.fileName();
    // Read into a fresh store first: a file that fails leaves the open database as it was.
    userdb::RecordStore fresh;
    const userdb::LoadResult result = userdb::loadDatabaseFile(chosen, fresh);
    if (!result.error.isEmpty()) {
        reportFailure(result.error);
        return;
    }
    openDatabase(chosen, std::move(fresh), result.address);
}

bool MainWindow::SaveDatabaseFile() {
    const QString error = userdb::saveDatabaseFile(
        DatabaseFilename, ui->fraTXUsers->databaseAddress(), m_database.records());
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
    // The windows that look at the open database go with it.
    for (QWidget *view : {static_cast<QWidget *>(m_userList), static_cast<QWidget *>(m_comparison)})
        if (view)
            view->hide();
}

void MainWindow::imgDatabaseExit_Click() {
    runCommand(Command::CloseDatabase);
}

// ---- panels ----

void MainWindow::mnuSortDatabase_Click() {
    revealPanel(ui->fraSort);
}

void MainWindow::imgSortExit_Click() {
    ui->fraSort->hide();
}

void MainWindow::mnuMergeDatabase_Click() {
    revealPanel(ui->fraMergeDatabase);
}

void MainWindow::MergeExitImage_Click() {
    ui->fraMergeDatabase->hide();
}

// ---- sorting ----

void MainWindow::BubbleSort() {
    // The sort runs to its end without yielding, so no command can change slots 1 to 340
    // between reading them and writing the new order back.
    ui->fraTXUsers->setEnabled(false);
    ui->fraSort->setEnabled(false);
    showProgress(1, 340);
    const int column = ui->fraSort->selectedColumn();
    m_database.changeRecords(
        [column](userdb::RecordStore &store) { userdb::sortSlots(store, column); });
    setProgress(340);
    hideProgress();
    ui->fraTXUsers->setEnabled(true);
    ui->fraSort->setEnabled(true);
}

void MainWindow::cmdSortNow_Click() {
    if (refuseWhileTransferring())
        return;
    BubbleSort();
    showSlotOne();
    ui->fraSort->hide();
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
            ui->Label4->setText(QString::number(Temp_Remlet_Count()));
            const userdb::MergeOptions options = ui->fraMergeDatabase->options();
            m_database.changeRecords([this, options](userdb::RecordStore &store) {
                userdb::mergeDatabases(store, m_mergeBuffer, options);
            });
            setSlotSelector(1);
            ShowSlot();
        }
    }
    ui->fraMergeDatabase->hide();
}

// ---- bulk fill ----

void MainWindow::cmdBulk_Click() {
    if (refuseWhileTransferring())
        return;
    userdb::BulkFillResult result;
    m_database.changeRecords([&](userdb::RecordStore &store) {
        result = userdb::bulkFill(store, ui->fraBulk->startSerial(), ui->fraBulk->count(),
                                  ui->fraTXUsers->slotSelector()->maximum());
    });
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
