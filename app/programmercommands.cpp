// The window's programmer commands: discovery, the memory sizes, read, program, clear, copy
// and capture mode, behind one re-entry guard.
#include "app/compare/comparisonwindow.h"
#include "app/mainwindow.h"
#include "app/statuspanel.h"
#include "link/devicecommands.h"
#include "link/discovery.h"
#include "link/download.h"
#include "link/upload.h"
#include "link/verify.h"
#include "ui_mainwindow.h"

#include <QScopedValueRollback>
#include <QTimer>
#include <stdexcept>

namespace app {

namespace {

// Until discovery has found the programmer there is no port to use. Reported through the
// window's failure report, like every failure that escapes a command; nothing is sent.
void requireProgrammer(int port) {
    if (port == 0)
        throw std::runtime_error("No programmer has been found: connect it and use Find ZEPRO");
}

} // namespace

void MainWindow::refuseBusy() {
    m_dialogs.beep();
    m_panels[0]->showNotice(
        QStringLiteral("The programmer is busy: wait for the current command to finish"));
}

bool MainWindow::runExchange(const std::function<void()> &exchange) {
    if (m_exchangeRunning) {
        // Another command is waiting for the programmer: a second exchange on the same port
        // would take its replies. Refuse visibly; the command states stay as they are.
        refuseBusy();
        return false;
    }
    // The port counts as in use until the exchange ends, however it ends; the Tools menu
    // offers what applies meanwhile and afterwards.
    {
        const QScopedValueRollback<bool> running(m_exchangeRunning, true);
        updateToolStates();
        exchange();
    }
    updateToolStates();
    return true;
}

bool MainWindow::refuseWhileTransferring() {
    // Capture mode neither reads nor writes the records: the database stays free meanwhile.
    if (!m_exchangeRunning || m_capture.isRunning())
        return false;
    refuseBusy();
    return true;
}

void MainWindow::mnuFindRemletManager_Click() {
    runExchange([this] {
        const proglink::DiscoveryResult result =
            proglink::discoverProgrammer(m_link, *this, m_replyBuffer);
        if (!result.found) {
            applyCommandEvent(CommandEvent::ProgrammerNotFound, *this);
            return;
        }
        Port = result.port;
        applyCommandEvent(CommandEvent::ProgrammerFound, *this);
        ApplyMemorySizes();
    });
}

void MainWindow::ApplyMemorySizes() {
    proglink::runMemorySizeCommand(m_link, Port, ui->fraSize->receiverSize());
    proglink::runMemorySizeCommand(m_link, Port, ui->fraSize->tagSize());
}

void MainWindow::fraSize_Click(proglink::MemorySize size) {
    const bool receiver =
        size == proglink::MemorySize::Receiver340 || size == proglink::MemorySize::Receiver85;
    proglink::MemorySize &accepted = receiver ? m_acceptedReceiverSize : m_acceptedTagSize;
    // The choice stays selected whatever the programmer answers, unless it was refused.
    if (runExchange([this, size] { proglink::runMemorySizeCommand(m_link, Port, size); }))
        accepted = size;
    else
        ui->fraSize->select(accepted);
}

void MainWindow::mnuClearReceiver_Click() {
    requireProgrammer(Port);
    runExchange([this] {
        proglink::runDeviceCommand(m_link, Port, proglink::DeviceCommand::ClearReceiver);
    });
}

void MainWindow::mnuClearTag_Click() {
    requireProgrammer(Port);
    runExchange(
        [this] { proglink::runDeviceCommand(m_link, Port, proglink::DeviceCommand::ClearTag); });
}

void MainWindow::mnuCopyfromReceivertoTag_Click() {
    requireProgrammer(Port);
    runExchange([this] {
        proglink::runDeviceCommand(m_link, Port, proglink::DeviceCommand::CopyReceiverToTag);
    });
}

void MainWindow::mnuCopyfromTagtoReceiver_Click() {
    requireProgrammer(Port);
    runExchange([this] {
        proglink::runDeviceCommand(m_link, Port, proglink::DeviceCommand::CopyTagToReceiver);
    });
}

proglink::Device MainWindow::selectedDevice() const {
    return ui->optBurnRX->isChecked() ? proglink::Device::Receiver : proglink::Device::Tag;
}

void MainWindow::mnuReadReceiver_Click() {
    requireProgrammer(Port);
    runExchange([this] {
        ui->optBurnRX->setChecked(true);
        DownloadMemory();
    });
}

void MainWindow::mnuReadTag_Click() {
    requireProgrammer(Port);
    runExchange([this] {
        ui->optBurnTag->setChecked(true);
        DownloadMemory();
    });
}

void MainWindow::DownloadMemory() {
    // No record can be edited while the list is coming in.
    ui->fraTXUsers->setEnabled(false);
    struct EnableEditorAgain {
        QWidget *editor;
        ~EnableEditorAgain() { editor->setEnabled(true); }
    } enableAgain{ui->fraTXUsers};

    // Read into a fresh store: only a memory really read replaces the open database, its file
    // name and Untitled.fxd; a failed read leaves them exactly as they were.
    userdb::RecordStore fresh;
    const proglink::DownloadOutcome outcome =
        proglink::downloadMemory(m_link, *this, Port, selectedDevice(), m_replyBuffer, fresh);
    if (outcome != proglink::DownloadOutcome::Complete)
        return;
    mnuNewDatabase_Click();
    m_database.replaceRecords(std::move(fresh));
    SaveDatabaseFile();
    showSlotOne();
    hideProgress();
}

void MainWindow::mnuProgramReceiver_Click() {
    requireProgrammer(Port);
    runExchange([this] {
        ui->optBurnRX->setChecked(true);
        UploadMemory();
    });
}

void MainWindow::mnuProgramTag_Click() {
    requireProgrammer(Port);
    runExchange([this] {
        ui->optBurnTag->setChecked(true);
        UploadMemory();
    });
}

int MainWindow::memorySlotsOf(proglink::Device device) const {
    return proglink::memorySlotsFor(device,
                                    ui->fraSize->receiverSize() == proglink::MemorySize::Receiver85,
                                    ui->fraSize->tagSize() == proglink::MemorySize::Tag85);
}

void MainWindow::UploadMemory() {
    const proglink::Device device = selectedDevice();
    MemorySlots = memorySlotsOf(device);
    if (!proglink::uploadMemory(m_link, *this, Port, device, MemorySlots, m_database.records()))
        return;
    if (!ui->mnuVerifyAfterProgramming->isChecked())
        return;
    // Read back what was just programmed; only a difference is worth a window.
    const proglink::Comparison check = proglink::verifyProgrammed(
        m_link, *this, Port, device, MemorySlots, m_replyBuffer, m_database.records());
    if (check.outcome == proglink::ComparisonOutcome::Differs)
        comparisonWindow()->showComparison(check.differences, device);
}

void MainWindow::compareWith(proglink::Device device) {
    requireProgrammer(Port);
    runExchange([this, device] {
        // Read into a store of its own: the open database, its file and its title stay as
        // they are, and nothing is saved.
        const proglink::Comparison comparison =
            proglink::readAndCompare(m_link, *this, Port, device, memorySlotsOf(device),
                                     m_replyBuffer, m_database.records());
        if (comparison.outcome != proglink::ComparisonOutcome::ReadFailed)
            comparisonWindow()->showComparison(comparison.differences, device);
    });
}

void MainWindow::mnuCompareReceiver_Click() {
    compareWith(proglink::Device::Receiver);
}

void MainWindow::mnuCompareTag_Click() {
    compareWith(proglink::Device::Tag);
}

void MainWindow::mnuEnableRX_Click() {
    requireProgrammer(Port);
    // Through the guard: a second Enable while the mode runs would start a nested listening
    // loop on the same port.
    runExchange([this] {
        applyCommandEvent(CommandEvent::CaptureEntered, *this);
        // A device that went away ended the mode by itself: the commands come back as after
        // Disable. A port that never opened leaves them hidden until Disable.
        if (m_capture.run(m_link, *this, Port, m_replyBuffer) == proglink::CaptureEnd::Lost)
            applyCommandEvent(CommandEvent::CaptureLeft, *this);
    });
}

void MainWindow::mnuDisableRX_Click() {
    // Always allowed: it only asks the running mode to stop.
    m_capture.requestStop();
    applyCommandEvent(CommandEvent::CaptureLeft, *this);
}

} // namespace app
