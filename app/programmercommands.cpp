// The window's programmer commands: discovery, the memory sizes, read, program, clear, copy
// and capture mode, behind one re-entry guard.
#include "app/mainwindow.h"
#include "app/sloteditor.h"
#include "link/devicecommands.h"
#include "link/discovery.h"
#include "link/download.h"
#include "link/upload.h"

#include <QRadioButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <memory>
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

void MainWindow::runExchange(const std::function<void()> &exchange) {
    if (m_exchangeRunning) {
        // Another command is waiting for the programmer: a second exchange on the same port
        // would take its replies. Refuse visibly; the command states stay as they are.
        m_dialogs.beep();
        setStatusText(
            QStringLiteral("The programmer is busy: wait for the current command to finish"));
        return;
    }
    // The port counts as in use until the exchange ends, however it ends.
    const QScopedValueRollback<bool> running(m_exchangeRunning, true);
    exchange();
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
    proglink::runMemorySizeCommand(m_link, Port,
                                   optRX85Slot->isChecked() ? proglink::MemorySize::Receiver85
                                                            : proglink::MemorySize::Receiver340);
    proglink::runMemorySizeCommand(m_link, Port,
                                   optTAG85Slot->isChecked() ? proglink::MemorySize::Tag85
                                                             : proglink::MemorySize::Tag340);
}

void MainWindow::runSizeOption(proglink::MemorySize size) {
    // The choice stays selected whatever the programmer answers.
    runExchange([this, size] { proglink::runMemorySizeCommand(m_link, Port, size); });
}

void MainWindow::optRX340Slot_Click() {
    runSizeOption(proglink::MemorySize::Receiver340);
}

void MainWindow::optRX85Slot_Click() {
    runSizeOption(proglink::MemorySize::Receiver85);
}

void MainWindow::optTag340Slot_Click() {
    runSizeOption(proglink::MemorySize::Tag340);
}

void MainWindow::optTAG85Slot_Click() {
    runSizeOption(proglink::MemorySize::Tag85);
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
    return optBurnRX->isChecked() ? proglink::Device::Receiver : proglink::Device::Tag;
}

void MainWindow::mnuReadReceiver_Click() {
    requireProgrammer(Port);
    runExchange([this] {
        optBurnRX->setChecked(true);
        DownloadMemory();
    });
}

void MainWindow::mnuReadTag_Click() {
    requireProgrammer(Port);
    runExchange([this] {
        optBurnTag->setChecked(true);
        DownloadMemory();
    });
}

void MainWindow::DownloadMemory() {
    // No record can be edited while the list is coming in.
    fraTXUsers->setEnabled(false);
    struct EnableEditorAgain {
        QWidget *editor;
        ~EnableEditorAgain() { editor->setEnabled(true); }
    } enableAgain{fraTXUsers};

    // Read into a fresh store: only a memory really read replaces the open database, its file
    // name and Untitled.fxd; a failed read leaves them exactly as they were.
    auto fresh = std::make_unique<userdb::RecordStore>();
    const proglink::DownloadOutcome outcome =
        proglink::downloadMemory(m_link, *this, Port, selectedDevice(), m_replyBuffer, *fresh);
    if (outcome != proglink::DownloadOutcome::Complete)
        return;
    mnuNewDatabase_Click();
    m_records = std::move(*fresh);
    SaveDatabaseFile();
    EditSlotNumber = 1;
    setSlotSelector(1);
    ShowSlot();
    hideProgress();
}

void MainWindow::mnuProgramReceiver_Click() {
    requireProgrammer(Port);
    runExchange([this] {
        optBurnRX->setChecked(true);
        UploadMemory();
    });
}

void MainWindow::mnuProgramTag_Click() {
    requireProgrammer(Port);
    runExchange([this] {
        optBurnTag->setChecked(true);
        UploadMemory();
    });
}

void MainWindow::UploadMemory() {
    const proglink::Device device = selectedDevice();
    MemorySlots =
        proglink::memorySlotsFor(device, optRX85Slot->isChecked(), optTAG85Slot->isChecked());
    proglink::uploadMemory(m_link, *this, Port, device, MemorySlots, m_records);
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
