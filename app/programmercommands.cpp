// The window's programmer commands: discovery, the memory sizes, read, program, clear, copy
// and capture mode, behind one re-entry guard.
#include "app/mainwindow.h"
#include "app/sloteditor.h"
#include "link/devicecommands.h"
#include "link/discovery.h"
#include "link/download.h"
#include "link/upload.h"

#include <QLabel>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTimer>

namespace app {

void MainWindow::refuseBusy() {
    m_dialogs.beep();
    m_panels[0]->setText(
        QStringLiteral("The programmer is busy: wait for the current command to finish"));
    m_busyNoticeTimer->start();
}

bool MainWindow::runExchange(const std::function<void()> &exchange) {
    if (m_exchangeRunning) {
        // Another command is waiting for the programmer: a second exchange on the same port
        // would take its replies. Refuse visibly; the command states stay as they are.
        refuseBusy();
        return false;
    }
    // The port counts as in use until the exchange ends, however it ends.
    const QScopedValueRollback<bool> running(m_exchangeRunning, true);
    exchange();
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
    proglink::runMemorySizeCommand(m_link, Port,
                                   optRX85Slot->isChecked() ? proglink::MemorySize::Receiver85
                                                            : proglink::MemorySize::Receiver340);
    proglink::runMemorySizeCommand(m_link, Port,
                                   optTAG85Slot->isChecked() ? proglink::MemorySize::Tag85
                                                             : proglink::MemorySize::Tag340);
}

void MainWindow::runSizeOption(proglink::MemorySize size) {
    const bool receiver =
        size == proglink::MemorySize::Receiver340 || size == proglink::MemorySize::Receiver85;
    QRadioButton *&accepted = receiver ? m_acceptedRxSize : m_acceptedTagSize;
    // The choice stays selected whatever the programmer answers, unless it was refused.
    if (!runExchange([this, size] { proglink::runMemorySizeCommand(m_link, Port, size); })) {
        accepted->setChecked(true);
        return;
    }
    accepted = receiver ? (optRX85Slot->isChecked() ? optRX85Slot : optRX340Slot)
                        : (optTAG85Slot->isChecked() ? optTAG85Slot : optTag340Slot);
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
    runExchange([this] {
        proglink::runDeviceCommand(m_link, Port, proglink::DeviceCommand::ClearReceiver);
    });
}

void MainWindow::mnuClearTag_Click() {
    runExchange(
        [this] { proglink::runDeviceCommand(m_link, Port, proglink::DeviceCommand::ClearTag); });
}

void MainWindow::mnuCopyfromReceivertoTag_Click() {
    runExchange([this] {
        proglink::runDeviceCommand(m_link, Port, proglink::DeviceCommand::CopyReceiverToTag);
    });
}

void MainWindow::mnuCopyfromTagtoReceiver_Click() {
    runExchange([this] {
        proglink::runDeviceCommand(m_link, Port, proglink::DeviceCommand::CopyTagToReceiver);
    });
}

proglink::Device MainWindow::selectedDevice() const {
    return optBurnRX->isChecked() ? proglink::Device::Receiver : proglink::Device::Tag;
}

void MainWindow::mnuReadReceiver_Click() {
    runExchange([this] {
        optBurnRX->setChecked(true);
        DownloadMemory();
    });
}

void MainWindow::mnuReadTag_Click() {
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

    mnuNewDatabase_Click();
    const proglink::DownloadOutcome outcome =
        proglink::downloadMemory(m_link, *this, Port, selectedDevice(), m_replyBuffer, m_records);
    if (outcome != proglink::DownloadOutcome::Complete)
        return;
    SaveDatabaseFile();
    EditSlotNumber = 1;
    setSlotSelector(1);
    ShowSlot();
    hideProgress();
}

void MainWindow::mnuProgramReceiver_Click() {
    runExchange([this] {
        optBurnRX->setChecked(true);
        UploadMemory();
    });
}

void MainWindow::mnuProgramTag_Click() {
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
    // Through the guard: a second Enable while the mode runs would start a nested listening
    // loop on the same port.
    runExchange([this] {
        applyCommandEvent(CommandEvent::CaptureEntered, *this);
        m_capture.run(m_link, *this, Port, m_replyBuffer);
    });
}

void MainWindow::mnuDisableRX_Click() {
    // Always allowed: it only asks the running mode to stop.
    m_capture.requestStop();
    applyCommandEvent(CommandEvent::CaptureLeft, *this);
}

} // namespace app
