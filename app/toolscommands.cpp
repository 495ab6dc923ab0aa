// The window's Tools menu: the user list and Find, the captured serial, spreadsheets, paper
// and PDF. Comparing with a device is a programmer command (programmercommands.cpp).
#include "app/compare/comparisonwindow.h"
#include "app/gotoslot/gotoslotdialog.h"
#include "app/mainwindow.h"
#include "app/print/userlistprint.h"
#include "app/programmer/programmersession.h"
#include "app/statuspanel.h"
#include "app/userlist/duplicatenotes.h"
#include "app/userlist/userlistwindow.h"
#include "platform/dialogs.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QDate>
#include <QLocale>
#include <QPageSize>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>

namespace app {

namespace {

const QString VerifyAfterProgrammingKey = QStringLiteral("Programmer/VerifyAfterProgramming");
const QString KeepPreviousVersionKey = QStringLiteral("Files/KeepPreviousVersion");
const QString PdfFilter = QStringLiteral("PDF files (*.pdf)");

// Paper as the user's country has it.
QPageSize localPaper() {
    return QPageSize(QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                                : QPageSize::A4);
}

} // namespace

void MainWindow::restoreToolSettings() {
    ui->mnuVerifyAfterProgramming->setChecked(
        QSettings().value(VerifyAfterProgrammingKey, false).toBool());
    connect(ui->mnuVerifyAfterProgramming, &QAction::toggled, this,
            [](bool on) { QSettings().setValue(VerifyAfterProgrammingKey, on); });
    ui->mnuKeepPreviousVersion->setChecked(
        QSettings().value(KeepPreviousVersionKey, true).toBool());
    connect(ui->mnuKeepPreviousVersion, &QAction::toggled, this,
            [](bool on) { QSettings().setValue(KeepPreviousVersionKey, on); });
}

void MainWindow::updateToolStates() {
    const bool open = isDatabaseOpen();
    const bool programmerFree = m_programmer->isFound() && !m_programmer->isBusy();
    const bool transferring = m_programmer->isTransferring();
    // What each item needs. While a transfer runs, only the items that merely look stay.
    struct Rule {
        QAction *item;
        bool needsDatabase;
        bool needsFreeProgrammer;
        bool onlyLooks;
        bool alsoNeeds = true;
    };
    const Rule rules[] = {
        {ui->mnuUserList, true, false, true},
        {ui->mnuFind, true, false, true},
        {ui->mnuGoToSlot, true, false, true},
        {ui->mnuUseCapturedSerial, true, false, false, !m_programmer->capturedSerial().isEmpty()},
        {ui->mnuEnrolFobs, true, true, false},
        {ui->mnuCompareReceiver, true, true, false},
        {ui->mnuCompareTag, true, true, false},
        {ui->mnuVerifyAfterProgramming, false, false, false},
        {ui->mnuExportCsv, true, false, false},
        {ui->mnuImportCsv, false, false, false, !m_enrolling},
        {ui->mnuExportSpreadsheet, true, false, false},
        {ui->mnuImportSpreadsheet, false, false, false, !m_enrolling},
        {ui->mnuPrintUserList, true, false, false},
        {ui->mnuExportPdf, true, false, false},
        {ui->mnuBulkFill, true, false, false, !m_enrolling},
        {ui->mnuKeepPreviousVersion, false, false, false},
        {ui->mnuProgrammerLog, false, false, true},
        {ui->mnuProgrammerPort, false, false, false, !m_programmer->isBusy()},
    };
    for (const Rule &rule : rules)
        rule.item->setEnabled((!rule.needsDatabase || open) &&
                              (!rule.needsFreeProgrammer || programmerFree) &&
                              (rule.onlyLooks || !transferring) && rule.alsoNeeds);
}

UserListWindow *MainWindow::userListWindow() {
    if (!m_userList) {
        m_userList = new UserListWindow(m_database, this);
        m_userList->setPlacementAnchor(this, ui->fraTXUsers);
        m_userList->setEarlierEscapeRule([this] { return stopWhatRuns(); });
        connect(m_userList, &UserListWindow::slotChosen, this, &MainWindow::showChosenSlot);
    }
    return m_userList;
}

ComparisonWindow *MainWindow::comparisonWindow() {
    if (!m_comparison) {
        m_comparison = new ComparisonWindow(this);
        m_comparison->setPlacementAnchor(this, ui->fraTXUsers);
        m_comparison->setEarlierEscapeRule([this] { return stopWhatRuns(); });
        connect(m_comparison, &ComparisonWindow::slotChosen, this, &MainWindow::showChosenSlot);
    }
    return m_comparison;
}

void MainWindow::showChosenSlot(int slot) {
    const int lastShown = ui->fraTXUsers->slotSelector()->maximum();
    if (slot > lastShown) {
        m_panels[0]->showNotice(
            QStringLiteral("Slot %1 lies beyond the %2 slots that the editor shows")
                .arg(slot)
                .arg(lastShown));
        return;
    }
    setSlotSelector(slot); // shows the slot when it is not shown already
    // The editor comes to the front, ready for typing into the slot chosen.
    raise();
    activateWindow();
    ui->fraTXUsers->serialBox()->setFocus(Qt::OtherFocusReason);
}

void MainWindow::mnuUserList_Click() {
    userListWindow()->open();
}

void MainWindow::mnuFind_Click() {
    userListWindow()->openForFind();
}

void MainWindow::mnuGoToSlot_Click() {
    // Leaving for another slot checks the serial of the slot left, as the scroll bar does.
    const bool leavingSerialBox = QApplication::focusWidget() == ui->fraTXUsers->serialBox();
    const int slot =
        GoToSlotDialog::ask(this, ui->fraTXUsers->slotSelector()->maximum(), m_editSlotNumber);
    if (slot == 0)
        return;
    if (leavingSerialBox && slot != m_editSlotNumber)
        txtRemlet_LostFocus();
    setSlotSelector(slot);
}

void MainWindow::mnuUseCapturedSerial_Click() {
    const QString serial = m_programmer->capturedSerial();
    if (serial.isEmpty() || !isDatabaseOpen())
        return;
    // As if typed: the edit reaches the store, and the serial is checked as on leaving the box.
    ui->fraTXUsers->serialBox()->setText(serial);
    checkSerialOfSlot();
}

void MainWindow::mnuPrintUserList_Click() {
    m_services.documents.print([this](QPagedPaintDevice &printer) {
        if (printUserList(printer, m_database.records(), ui->fraTXUsers->databaseAddress(),
                          QDate::currentDate()) == 0)
            reportFailure(QStringLiteral("The printer could not print the user list."));
    });
}

void MainWindow::mnuExportPdf_Click() {
    const QString path = m_services.documents.chooseSave(QStringLiteral("Export PDF"), PdfFilter,
                                                         proposedPath("pdf"));
    if (path.isEmpty())
        return;
    const QString error =
        writeUserListPdf(path, m_database.records(), ui->fraTXUsers->databaseAddress(),
                         QDate::currentDate(), localPaper());
    if (!error.isEmpty())
        reportFailure(error);
    else
        m_panels[0]->showNotice(QStringLiteral("Exported the user list to %1").arg(path));
}

} // namespace app
