#include "app/programmer/programmersession.h"

#include "link/portpreparation.h"
#include "link/upload.h"
#include "userdb/capturedserial.h"

#include <QScopedValueRollback>
#include <QStringList>

namespace app {

using proglink::Device;
using proglink::MemorySize;

namespace {

const QString NoProgrammer =
    QStringLiteral("No programmer has been found: connect it and use Find ZEPRO");
const QString Busy =
    QStringLiteral("The programmer is busy: wait for the current command to finish");

bool isReceiverSize(MemorySize size) {
    return size == MemorySize::Receiver340 || size == MemorySize::Receiver85;
}

// "Slot 1 changed after it was sent: program again to send it", or the same of several.
QString changedAfterSentText(const QList<int> &changed) {
    if (changed.size() == 1)
        return QStringLiteral("Slot %1 changed after it was sent: program again to send it")
            .arg(changed.first());
    QStringList numbers;
    for (const int slot : changed)
        numbers << QString::number(slot);
    return QStringLiteral("Slots %1 changed after they were sent: program again to send them")
        .arg(numbers.join(QStringLiteral(", ")));
}

} // namespace

// The link's view of the window: every change becomes a signal of the session.
class ProgrammerSession::SignalView : public proglink::ProgrammerView {
public:
    explicit SignalView(ProgrammerSession &session)
        : m_session(session) {}

    void setStatusText(const QString &text) override { emit m_session.statusTextChanged(text); }
    void setPortText(const QString &text) override { m_session.showPortText(text); }
    void setReplyText(const QString &text) override { m_session.showReply(text); }
    void showProgress(int minimum, int maximum) override {
        emit m_session.progressStarted(minimum, maximum);
    }
    void setProgress(int value) override { m_session.noteProgress(value); }
    void hideProgress() override { emit m_session.progressEnded(); }
    void showSerialBeingWritten(const QString &serial) override {
        emit m_session.serialBeingWritten(serial);
    }

private:
    ProgrammerSession &m_session;
};

// What the hot-plug rules ask of the session.
class ProgrammerSession::HotPlugAdapter : public proglink::HotPlugClient {
public:
    explicit HotPlugAdapter(ProgrammerSession &session)
        : m_session(session) {}

    void discoverAutomatically() override { m_session.discoverQuietly(); }
    void setPortText(const QString &text) override { m_session.showPortText(text); }
    void programmerGone(const QString &) override { m_session.programmerGone(); }

private:
    ProgrammerSession &m_session;
};

ProgrammerSession::ProgrammerSession(proglink::LinkContext context,
                                     platform::DeviceWatcher &watcher,
                                     platform::Scheduler &scheduler, QObject *parent)
    : QObject(parent)
    , m_view(std::make_unique<SignalView>(*this))
    , m_dialogs(context.dialogs, *m_view)
    , m_link({context.port, context.clock, context.loop, m_dialogs, &m_cancel}, *m_view)
    , m_hotPlugClient(std::make_unique<HotPlugAdapter>(*this))
    , m_hotPlug(watcher, scheduler, *m_hotPlugClient) {}

ProgrammerSession::~ProgrammerSession() = default;

int ProgrammerSession::memorySlots(Device device) const {
    return proglink::memorySlotsFor(device, m_receiverSize == MemorySize::Receiver85,
                                    m_tagSize == MemorySize::Tag85);
}

bool ProgrammerSession::refuseWhileTransferring() {
    if (!isTransferring())
        return false;
    refuseBusy();
    return true;
}

void ProgrammerSession::refuseBusy() {
    m_link.context().dialogs.beep();
    emit notice(Busy);
}

bool ProgrammerSession::runExchange(const std::function<void()> &exchange, bool cancellable) {
    if (m_busy) {
        refuseBusy();
        return false;
    }
    QString failure;
    {
        const QScopedValueRollback<bool> running(m_busy, true);
        const QScopedValueRollback<bool> stoppable(m_cancellable, cancellable);
        if (cancellable)
            m_cancel.reset(); // an old request must not stop this one

        m_hotPlug.setCommandRunning(true);
        emit busyChanged(true);
        try {
            exchange();
        } catch (const std::exception &error) {
            // A port the system refuses or another program holds: the command stops where it
            // failed and the user is told why.
            failure = QString::fromLocal8Bit(error.what());
        }
    }
    m_hotPlug.setCommandRunning(false);
    emit busyChanged(false);
    if (!failure.isEmpty())
        emit failed(failure);
    return true;
}

void ProgrammerSession::runOnProgrammer(const std::function<void()> &exchange, bool cancellable) {
    if (port() == 0) {
        emit failed(NoProgrammer);
        return;
    }
    runExchange(exchange, cancellable);
}

void ProgrammerSession::findProgrammer() {
    runExchange([this] {
        const proglink::DiscoveryResult result = m_link.discover();
        m_found = result.found;
        if (!m_found) {
            emit commandEvent(CommandEvent::ProgrammerNotFound);
            m_hotPlug.programmerNotFound(!m_portText.isEmpty());
            return;
        }
        emit commandEvent(CommandEvent::ProgrammerFound);
        m_hotPlug.programmerFound(m_link.context().port.portName(result.port));
        m_link.applySize(m_receiverSize);
        m_link.applySize(m_tagSize);
    });
}

void ProgrammerSession::discoverQuietly() {
    // Nobody clicked: the size messages go to the status bar, not into boxes.
    m_dialogs.setQuiet(true);
    findProgrammer();
    m_dialogs.setQuiet(false);
}

void ProgrammerSession::programmerGone() {
    m_found = false;
    emit commandEvent(CommandEvent::ProgrammerNotFound);
}

void ProgrammerSession::watchPorts(const QStringList &paths) {
    m_hotPlug.watch(paths);
}

bool ProgrammerSession::chooseSize(MemorySize size) {
    // The choice stands whatever the programmer answers, unless it was refused.
    if (!runExchange([this, size] { m_link.applySize(size); }))
        return false;
    (isReceiverSize(size) ? m_receiverSize : m_tagSize) = size;
    return true;
}

void ProgrammerSession::runDeviceCommand(proglink::DeviceCommand command) {
    runOnProgrammer([this, command] { m_link.runDeviceCommand(command); });
}

std::unique_ptr<userdb::RecordStore> ProgrammerSession::read(Device device) {
    std::unique_ptr<userdb::RecordStore> result;
    runOnProgrammer(
        [&] {
            auto fresh = std::make_unique<userdb::RecordStore>();
            if (m_link.read(device, *fresh) != proglink::DownloadOutcome::Complete)
                return;
            result = std::move(fresh);
            emit progressEnded();
        },
        true);
    return result;
}

void ProgrammerSession::program(Device device, const userdb::RecordStore &records,
                                bool verifyAfterwards) {
    runOnProgrammer(
        [&] {
            const int slotCount = memorySlots(device);
            m_sent.clear();
            m_uploading = &records;
            const proglink::UploadResult result = m_link.program(device, slotCount, records);
            m_uploading = nullptr;
            if (!result)
                return;
            // Typing goes on during an upload: what changed in a slot already sent is not in the
            // device, and the user must hear of it.
            if (const QList<int> changed = slotsChangedSinceSent(records); !changed.isEmpty())
                m_link.context().dialogs.message(changedAfterSentText(changed),
                                                 platform::ApplicationTitle,
                                                 platform::MessageIcon::Warning);
            if (!verifyAfterwards)
                return;
            // Read back what was just programmed; only a difference is worth a window.
            const proglink::Comparison check = m_link.verify(device, slotCount, records);
            if (check.outcome == proglink::ComparisonOutcome::Differs)
                emit comparisonReady(check.differences, device);
        },
        true);
}

void ProgrammerSession::noteProgress(int value) {
    // An upload reports each slot just before it reads and sends it.
    if (m_uploading)
        m_sent[value] = proglink::slotValuesToSend(*m_uploading, value);
    emit progressChanged(value);
}

QList<int> ProgrammerSession::slotsChangedSinceSent(const userdb::RecordStore &records) const {
    QList<int> changed;
    for (const auto &[slot, sent] : m_sent) {
        const proglink::SlotValues now = proglink::slotValuesToSend(records, slot);
        if (now.serialNumber != sent.serialNumber || now.auxiliaryWord != sent.auxiliaryWord)
            changed.append(slot);
    }
    return changed;
}

void ProgrammerSession::compare(Device device, const userdb::RecordStore &records) {
    runOnProgrammer(
        [&] {
            const proglink::Comparison comparison =
                m_link.compare(device, memorySlots(device), records);
            if (comparison.outcome == proglink::ComparisonOutcome::Matches ||
                comparison.outcome == proglink::ComparisonOutcome::Differs)
                emit comparisonReady(comparison.differences, device);
        },
        true);
}

bool ProgrammerSession::cancelTransfer() {
    if (!canCancel())
        return false;
    m_cancel.request();
    return true;
}

proglink::CaptureEnd ProgrammerSession::enableCapture() {
    // Through the guard: a second start while the mode runs would listen on the same port.
    proglink::CaptureEnd end = proglink::CaptureEnd::Refused;
    runOnProgrammer([this, &end] {
        emit commandEvent(CommandEvent::CaptureEntered);
        end = m_link.capture();
        // A device that went away ended the mode by itself: the commands come back as after
        // Disable. A port that never opened leaves them hidden until Disable.
        if (end == proglink::CaptureEnd::Lost)
            emit commandEvent(CommandEvent::CaptureLeft);
    });
    return end;
}

void ProgrammerSession::disableCapture() {
    m_link.stopCapture();
    emit commandEvent(CommandEvent::CaptureLeft);
}

void ProgrammerSession::shutDown() {
    // Closing the port first ends any wait at once; capture mode then stops without sending
    // its switch-off command.
    proglink::closeQuietly(m_link.context().port);
    m_link.stopCapture();
}

void ProgrammerSession::showPortText(const QString &text) {
    m_portText = text;
    emit portTextChanged(text);
}

void ProgrammerSession::showReply(const QString &text) {
    emit replyTextChanged(text);
    // A fob that capture mode shows may be put into the slot editor.
    if (!isCapturing())
        return;
    if (const QString serial = userdb::capturedSerial(text); !serial.isEmpty()) {
        m_capturedSerial = serial;
        emit capturedSerialChanged(serial);
    }
}

} // namespace app
