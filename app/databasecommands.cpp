// The window's file commands: New, Load, Save, Save As and Close, the question before unsaved
// changes go, the database a Read makes, and the previous version a save keeps.
#include "app/compare/comparisonwindow.h"
#include "app/mainwindow.h"
#include "app/outside/recentfiles.h"
#include "app/statuspanel.h"
#include "app/userlist/userlistwindow.h"
#include "platform/dialogs.h"
#include "ui_mainwindow.h"
#include "userdb/databasefile.h"
#include "userdb/previousversion.h"
#include "userdb/unstorabletext.h"
#include "userdb/untitledname.h"

#include <QDir>
#include <QFileInfo>
#include <QScopedValueRollback>

namespace app {

using platform::Answer;

void MainWindow::markModified() {
    if (!m_opening && isDatabaseOpen())
        setWindowModified(true);
}

void MainWindow::openDatabase(const QString &fileName, userdb::RecordStore records,
                              const QString &address, FileKind kind) {
    {
        const QScopedValueRollback<bool> opening(m_opening, true);
        m_databaseFilename = fileName;
        m_hasFile = kind == FileKind::Own;
        m_proposedPath = kind == FileKind::Proposed ? fileName : QString();
        m_keptVersions.clear();
        setDatabaseTitle(fileName);
        m_database.replaceRecords(std::move(records));
        ui->fraTXUsers->setDatabaseAddress(address);
        showSlotOne();
        applyCommandEvent(CommandEvent::DatabaseOpened, *this);
    }
    if (kind == FileKind::Own)
        addRecentFile(fileName);
    // An import has never been saved anywhere.
    setWindowModified(kind == FileKind::Proposed);
}

bool MainWindow::maySaveOrDiscard() {
    if (!isDatabaseOpen() || !isWindowModified())
        return true;
    const QString question =
        QStringLiteral("The database \"%1\" has changes that are not saved. Save them first?")
            .arg(QFileInfo(m_databaseFilename).fileName());
    switch (m_dialogs.ask(question, platform::ApplicationTitle,
                          {Answer::Save, Answer::Discard, Answer::Cancel})) {
    case Answer::Save:
        return saveDatabase();
    case Answer::Discard:
        return true;
    default:
        return false;
    }
}

void MainWindow::mnuNewDatabase_Click() {
    // A new database has no file of its own: its first Save asks where, proposing an Untitled
    // name that no file has yet.
    const QString name = userdb::firstFreeUntitledName(QDir::current());
    m_services.fileDialog.setFileName(name);
    const QString address = ui->fraTXUsers->databaseAddress(); // the address box keeps its text
    openDatabase(name, userdb::RecordStore(), address, FileKind::Untitled);
}

void MainWindow::openReadDatabase(userdb::RecordStore records) {
    // Saved at once, as a read always was, but never over an existing file.
    const QString name = userdb::firstFreeUntitledName(QDir::current());
    m_services.fileDialog.setFileName(name);
    openDatabase(name, std::move(records), ui->fraTXUsers->databaseAddress(), FileKind::Own);
    const QString error =
        userdb::saveDatabaseFile(name, ui->fraTXUsers->databaseAddress(), m_database.records());
    if (!error.isEmpty()) {
        setWindowModified(true); // the read is only here: it must not go unasked
        reportFailure(error);
    }
}

void MainWindow::mnuLoadDatabase_Click() {
    m_services.fileDialog.setFileName(QString());
    if (!m_services.fileDialog.showOpen())
        return;
    loadDatabase(m_services.fileDialog.fileName());
}

bool MainWindow::loadDatabase(const QString &path) {
    // Read into a fresh store first: a file that fails leaves the open database as it was.
    userdb::RecordStore fresh;
    const userdb::LoadResult result = userdb::loadDatabaseFile(path, fresh);
    if (!result.error.isEmpty()) {
        reportFailure(result.error);
        return false;
    }
    openDatabase(path, std::move(fresh), result.address, FileKind::Own);
    warnAboutUnstorableText();
    return true;
}

void MainWindow::warnAboutUnstorableText() {
    const QList<userdb::UnstorablePlace> places =
        userdb::findUnstorableText(ui->fraTXUsers->databaseAddress(), m_database.records());
    if (places.isEmpty())
        return;
    m_dialogs.message(QStringLiteral("This database holds text that a database file cannot store "
                                     "as it stands (a double quote, or a character outside "
                                     "Windows-1252):\n%1\nSaving will offer to replace each such "
                                     "character with \"?\".")
                          .arg(userdb::describeUnstorablePlaces(places)),
                      platform::ApplicationTitle, platform::MessageIcon::Warning);
}

bool MainWindow::replaceUnstorableText() {
    const QString address = ui->fraTXUsers->databaseAddress();
    const int count = userdb::countUnstorableCharacters(address, m_database.records());
    if (count == 0)
        return true;
    const QString places =
        userdb::describeUnstorablePlaces(userdb::findUnstorableText(address, m_database.records()));
    const QString question =
        (count == 1 ? QStringLiteral("1 character cannot be stored in a database file:\n%2\n"
                                     "Save it replaced by \"?\"?")
                    : QStringLiteral("%1 characters cannot be stored in a database file:\n%2\n"
                                     "Save each of them replaced by \"?\"?"))
            .arg(count)
            .arg(places);
    if (m_dialogs.ask(question, platform::ApplicationTitle, {Answer::Save, Answer::Cancel}) !=
        Answer::Save)
        return false;
    QString replacedAddress = address;
    m_database.changeRecords([&replacedAddress](userdb::RecordStore &store) {
        userdb::replaceUnstorableCharacters(replacedAddress, store);
    });
    ui->fraTXUsers->setDatabaseAddress(replacedAddress);
    ShowSlot();
    return true;
}

bool MainWindow::SaveDatabaseFile(const QString &path) {
    if (!replaceUnstorableText())
        return false;
    // The first save over a file since the database was opened keeps the file as it was.
    QString kept;
    if (ui->mnuKeepPreviousVersion->isChecked() && QFileInfo::exists(path) &&
        !m_keptVersions.contains(QFileInfo(path).absoluteFilePath())) {
        if (const QString error = userdb::keepPreviousVersion(path); !error.isEmpty()) {
            reportFailure(error);
            return false;
        }
        m_keptVersions.insert(QFileInfo(path).absoluteFilePath());
        kept = QFileInfo(userdb::previousVersionPath(path)).fileName();
    }
    const QString error =
        userdb::saveDatabaseFile(path, ui->fraTXUsers->databaseAddress(), m_database.records());
    if (!error.isEmpty()) {
        reportFailure(error);
        return false;
    }
    setWindowModified(false);
    m_panels[0]->showNotice(kept.isEmpty()
                                ? QStringLiteral("Saved")
                                : QStringLiteral("Saved; the previous version is in %1").arg(kept));
    return true;
}

bool MainWindow::saveDatabase() {
    if (!m_hasFile)
        return saveDatabaseAs();
    return SaveDatabaseFile(m_databaseFilename);
}

bool MainWindow::saveDatabaseAs() {
    // A database without a file of its own proposes where it came from (an import) or the
    // first free Untitled name; otherwise the dialog proposes the name it last held.
    if (!m_hasFile)
        m_services.fileDialog.setFileName(m_proposedPath.isEmpty()
                                              ? userdb::firstFreeUntitledName(QDir::current())
                                              : m_proposedPath);
    if (!m_services.fileDialog.showSave())
        return false;
    const QString chosen = m_services.fileDialog.fileName();
    // The database stays under the name it had unless the chosen file was written.
    if (!SaveDatabaseFile(chosen))
        return false;
    m_databaseFilename = chosen;
    m_hasFile = true;
    m_proposedPath.clear();
    setDatabaseTitle(chosen);
    addRecentFile(chosen);
    return true;
}

void MainWindow::mnuSaveDatabase_Click() {
    saveDatabase();
}

void MainWindow::mnuSaveDatabaseAs_Click() {
    saveDatabaseAs();
}

void MainWindow::mnuCloseDatabase_Click() {
    resetTitle();
    applyCommandEvent(CommandEvent::DatabaseClosed, *this);
    setWindowModified(false); // saved or discarded before it closed
    // The windows that look at the open database go with it.
    for (QWidget *view : {static_cast<QWidget *>(m_userList), static_cast<QWidget *>(m_comparison)})
        if (view)
            view->hide();
}

void MainWindow::imgDatabaseExit_Click() {
    runCommand(Command::CloseDatabase);
}

} // namespace app
