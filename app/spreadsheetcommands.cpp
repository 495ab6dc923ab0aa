// The Tools menu's spreadsheets: the users out to a CSV or a workbook, and back in as a new,
// unsaved database.
#include "app/mainwindow.h"
#include "app/statuspanel.h"
#include "platform/dialogs.h"
#include "ui_mainwindow.h"
#include "userdb/csvexport.h"
#include "userdb/csvimport.h"
#include "userdb/spreadsheetfiles.h"
#include "userdb/xlsxexport.h"
#include "userdb/xlsximport.h"

namespace app {

namespace {
const QString CsvFilter = QStringLiteral("Spreadsheet files (*.csv)");
const QString WorkbookFilter = QStringLiteral("Excel workbooks (*.xlsx)");
} // namespace

QString MainWindow::proposedPath(const QString &extension) const {
    QString path = m_hasFile || m_proposedPath.isEmpty() ? m_databaseFilename : m_proposedPath;
    if (path.endsWith(QStringLiteral(".fxd"), Qt::CaseInsensitive))
        path.chop(4);
    return path + QLatin1Char('.') + extension;
}

void MainWindow::exportUsers(const QString &title, const QString &filter,
                             const QString &extension) {
    const QString path = m_services.documents.chooseSave(title, filter, proposedPath(extension));
    if (path.isEmpty())
        return;
    const QString error =
        extension == QLatin1String("csv")
            ? userdb::exportCsvFile(path, m_database.records())
            : userdb::exportXlsxFile(path, ui->fraTXUsers->databaseAddress(), m_database.records());
    if (!error.isEmpty())
        reportFailure(error);
    else
        m_panels[0]->showNotice(QStringLiteral("Exported the users to %1").arg(path));
}

void MainWindow::importUsers(const QString &title, const QString &filter,
                             userdb::SpreadsheetImport (*import)(const QString &)) {
    const QString path = m_services.documents.chooseOpen(title, filter);
    if (path.isEmpty())
        return;
    // Read whole and checked first: a file that fails leaves the open database as it was.
    userdb::SpreadsheetImport result = import(path);
    if (!result.error.isEmpty()) {
        reportFailure(result.error);
        return;
    }
    // A new database that has never been saved: its first Save asks where, proposing a name
    // beside the spreadsheet, and never writes over a file unasked.
    openDatabase(result.proposedPath, std::move(result.records), result.address,
                 FileKind::Proposed);
}

void MainWindow::mnuExportCsv_Click() {
    exportUsers(QStringLiteral("Export CSV"), CsvFilter, QStringLiteral("csv"));
}

void MainWindow::mnuExportSpreadsheet_Click() {
    exportUsers(QStringLiteral("Export Spreadsheet"), WorkbookFilter, QStringLiteral("xlsx"));
}

void MainWindow::mnuImportCsv_Click() {
    importUsers(QStringLiteral("Import CSV"), CsvFilter, &userdb::importCsvFile);
}

void MainWindow::mnuImportSpreadsheet_Click() {
    importUsers(QStringLiteral("Import Spreadsheet"), WorkbookFilter, &userdb::importXlsxFile);
}

} // namespace app
