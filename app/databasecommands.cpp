// The window's file commands: New, Load, Save, Save As and Close, and the database a Read
// makes.
#include "app/compare/comparisonwindow.h"
#include "app/mainwindow.h"
#include "app/userlist/userlistwindow.h"
#include "platform/dialogs.h"
#include "ui_mainwindow.h"
#include "userdb/databasefile.h"

namespace app {

namespace {
const QString UntitledName = QStringLiteral("Untitled.fxd");
}

void MainWindow::openDatabase(const QString &fileName, userdb::RecordStore records,
                              const QString &address) {
    m_databaseFilename = fileName;
    setDatabaseTitle(fileName);
    m_database.replaceRecords(std::move(records));
    ui->fraTXUsers->setDatabaseAddress(address);
    showSlotOne();
    applyCommandEvent(CommandEvent::DatabaseOpened, *this);
}

void MainWindow::mnuNewDatabase_Click() {
    m_services.fileDialog.setFileName(UntitledName);
    m_databaseFilename = UntitledName;
    setDatabaseTitle(UntitledName);
    m_database.clearRecords(); // the address box keeps its text
    showSlotOne();
    applyCommandEvent(CommandEvent::DatabaseOpened, *this);
}

void MainWindow::openReadDatabase(userdb::RecordStore records) {
    mnuNewDatabase_Click();
    m_database.replaceRecords(std::move(records));
    SaveDatabaseFile();
    showSlotOne();
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
        m_databaseFilename, ui->fraTXUsers->databaseAddress(), m_database.records());
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
    const QString previous = m_databaseFilename;
    m_databaseFilename = m_services.fileDialog.fileName();
    if (!SaveDatabaseFile()) {
        // The database stays under the name it had; the chosen file was never written.
        m_databaseFilename = previous;
        return;
    }
    setDatabaseTitle(m_databaseFilename);
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

} // namespace app
