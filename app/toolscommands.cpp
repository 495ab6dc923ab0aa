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
}

void MainWindow::updateToolStates() {
    const bool open = isDatabaseOpen();
    const bool programmerFree = m_programmer->isFound() && !m_programmer->isBusy();
    const bool transferring = m_programmer->isTransferring();
    for (QAction *item :
         {ui->mnuUserList, ui->mnuFind, ui->mnuExportCsv, ui->mnuPrintUserList, ui->mnuExportPdf})
        item->setEnabled(open);
    ui->mnuUseCapturedSerial->setEnabled(open && !m_programmer->capturedSerial().isEmpty());
    ui->mnuCompareReceiver->setEnabled(open && programmerFree);
    ui->mnuCompareTag->setEnabled(open && programmerFree);
    ui->mnuImportCsv->setEnabled(!transferring);
}

void MainWindow::placeBeside(QWidget *tool) const {
    // Beside the main window, where the screen has room for a usable width; else where the
    // desktop puts new windows. Only the first time: later the user's own placing stands.
    constexpr int UsableWidth = 480;
    const QScreen *screen = this->screen();
    if (!screen || !isVisible())
        return;
    const QRect free = screen->availableGeometry();
    const QRect main = frameGeometry();
    const int height = std::min(tool->height(), free.bottom() - main.top());
    if (free.right() - main.right() >= UsableWidth) {
        tool->resize(std::min(tool->width(), free.right() - main.right()), height);
        tool->move(main.right() + 1, main.top());
    } else if (main.left() - free.left() >= UsableWidth) {
        const int width = std::min(tool->width(), main.left() - free.left());
        tool->resize(width, height);
        tool->move(main.left() - width, main.top());
    }
}

UserListWindow *MainWindow::userListWindow() {
    if (!m_userList) {
        m_userList = new UserListWindow(m_database, this);
        connect(m_userList, &UserListWindow::slotChosen, this, &MainWindow::showChosenSlot);
        placeBeside(m_userList);
    }
    return m_userList;
}

ComparisonWindow *MainWindow::comparisonWindow() {
    if (!m_comparison) {
        m_comparison = new ComparisonWindow(this);
        connect(m_comparison, &ComparisonWindow::slotChosen, this, &MainWindow::showChosenSlot);
        placeBeside(m_comparison);
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

namespace app {

void MainWindow::mnuEnrolFobs_Click() {}

} // namespace app
