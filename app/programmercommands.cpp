// The window's programmer commands: each is a short call into the programmer session, which
// owns the port, the link and the one-exchange-at-a-time rule; the window shows what the
// session reports.
#include "app/compare/comparisonwindow.h"
#include "app/enrol/enrolwindow.h"
#include "app/mainwindow.h"
#include "app/programmer/programmersession.h"
#include "app/programmerlog/programmerlogwindow.h"
#include "app/programmerport/portsetting.h"
#include "app/programmerport/programmerportdialog.h"
#include "app/statuspanel.h"
#include "app/toolwindows/livelabel.h"
#include "ui_mainwindow.h"

namespace app {

using proglink::Device;
using proglink::DeviceCommand;

void MainWindow::wireProgrammer() {
    ProgrammerSession *session = m_programmer;
    connect(session, &ProgrammerSession::statusTextChanged, m_panels[0],
            &StatusPanel::setLastingText); // news from the running command replaces a notice
    connect(session, &ProgrammerSession::portTextChanged, m_panels[1],
            &StatusPanel::setLastingText);
    connect(session, &ProgrammerSession::notice, m_panels[0], &StatusPanel::showNotice);
    connect(session, &ProgrammerSession::replyTextChanged, this,
            [this](const QString &text) { setLiveText(*replyLabel(), text); });
    connect(session, &ProgrammerSession::replyTextChanged, this, &MainWindow::feedEnrolment);
    connect(session, &ProgrammerSession::serialBeingWritten, serialBeingWritten(),
            &QLineEdit::setText);
    connect(session, &ProgrammerSession::progressStarted, this, [this](int minimum, int maximum) {
        ui->prbDownload->setRange(minimum, maximum);
        ui->prbDownload->setValue(minimum);
        ui->prbDownload->show();
    });
    connect(session, &ProgrammerSession::progressChanged, ui->prbDownload, &QProgressBar::setValue);
    connect(session, &ProgrammerSession::progressEnded, ui->prbDownload, &QWidget::hide);
    connect(session, &ProgrammerSession::failed, this, &MainWindow::reportFailure);
    connect(session, &ProgrammerSession::commandEvent, this, [this](CommandEvent event) {
        applyCommandEvent(event, *this);
        updateToolStates();
    });
    // The Tools menu offers what applies while the port is in use and afterwards; a transfer
    // can be stopped while it runs.
    connect(session, &ProgrammerSession::busyChanged, this, &MainWindow::updateToolStates);
    connect(session, &ProgrammerSession::busyChanged, this,
            [this] { ui->cmdCancel->setVisible(m_programmer->canCancel()); });
    connect(ui->cmdCancel, &QPushButton::clicked, m_programmer, &ProgrammerSession::cancelTransfer);
    connect(session, &ProgrammerSession::capturedSerialChanged, this,
            &MainWindow::updateToolStates);
    connect(session, &ProgrammerSession::comparisonReady, this, &MainWindow::showComparison);
}

void MainWindow::mnuFindRemletManager_Click() {
    m_programmer->findProgrammer();
}

void MainWindow::fraSize_Click(proglink::MemorySize size) {
    if (m_programmer->chooseSize(size))
        return;
    // Refused: the option goes back to the size the programmer was told.
    ui->fraSize->select(m_programmer->receiverSize());
    ui->fraSize->select(m_programmer->tagSize());
}

void MainWindow::mnuClearReceiver_Click() {
    m_programmer->runDeviceCommand(DeviceCommand::ClearReceiver);
}

void MainWindow::mnuClearTag_Click() {
    m_programmer->runDeviceCommand(DeviceCommand::ClearTag);
}

void MainWindow::mnuCopyfromReceivertoTag_Click() {
    m_programmer->runDeviceCommand(DeviceCommand::CopyReceiverToTag);
}

void MainWindow::mnuCopyfromTagtoReceiver_Click() {
    m_programmer->runDeviceCommand(DeviceCommand::CopyTagToReceiver);
}

void MainWindow::selectDevice(Device device) {
    (device == Device::Receiver ? ui->optBurnRX : ui->optBurnTag)->setChecked(true);
}

void MainWindow::mnuReadReceiver_Click() {
    readDevice(Device::Receiver);
}

void MainWindow::mnuReadTag_Click() {
    readDevice(Device::Tag);
}

void MainWindow::readDevice(Device device) {
    selectDevice(device);
    // No record can be edited while the list is coming in.
    ui->fraTXUsers->setEnabled(false);
    std::unique_ptr<userdb::RecordStore> read = m_programmer->read(device);
    ui->fraTXUsers->setEnabled(true);
    // Only a memory really read replaces the open database, its file name and Untitled.fxd.
    if (read)
        openReadDatabase(std::move(*read));
}

void MainWindow::mnuProgramReceiver_Click() {
    programDevice(Device::Receiver);
}

void MainWindow::mnuProgramTag_Click() {
    programDevice(Device::Tag);
}

void MainWindow::programDevice(Device device) {
    selectDevice(device);
    m_programmer->program(device, m_database.records(), ui->mnuVerifyAfterProgramming->isChecked());
}

void MainWindow::mnuCompareReceiver_Click() {
    m_programmer->compare(Device::Receiver, m_database.records());
}

void MainWindow::mnuCompareTag_Click() {
    m_programmer->compare(Device::Tag, m_database.records());
}

void MainWindow::showComparison(const QList<proglink::SlotDifference> &differences, Device device) {
    comparisonWindow()->showComparison(differences, device);
}

bool MainWindow::stopWhatRuns() {
    if (m_programmer->cancelTransfer())
        return true;
    if (m_enrolling && m_enrolWindow) {
        m_enrolWindow->close(); // asks capture mode to end
        return true;
    }
    return false;
}

void MainWindow::mnuProgrammerLog_Click() {
    if (!m_programmerLog)
        m_programmerLog =
            new ProgrammerLogWindow(m_services.trafficLog, m_services.documents, m_dialogs, this);
    m_programmerLog->open();
}

void MainWindow::mnuProgrammerPort_Click() {
    ProgrammerPortDialog dialog(m_services.portCatalog, this);
    connect(&dialog, &ProgrammerPortDialog::portChosen, this, [this] {
        // Hot-plug watches the new choice, and the search runs on it at once.
        m_programmer->watchPorts(pathsToWatch(m_services.portCatalog));
        runCommand(Command::FindProgrammer);
    });
    dialog.exec();
}

void MainWindow::mnuEnableRX_Click() {
    m_programmer->enableCapture();
}

void MainWindow::mnuDisableRX_Click() {
    m_programmer->disableCapture();
}

} // namespace app
