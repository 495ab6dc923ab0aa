#include "app/programmer/programmersession.h"

#include "link/portpreparation.h"
#include "link/upload.h"
#include "userdb/capturedserial.h"

#include <QScopedValueRollback>

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

} // namespace

// The link's view of the window: every change becomes a signal of the session.
class ProgrammerSession::SignalView : public proglink::ProgrammerView {
public:
    explicit SignalView(ProgrammerSession &session)
        : m_session(session) {}

    void setStatusText(const QString &text) override { emit m_session.statusTextChanged(text); }
    void setPortText(const QString &text) override { emit m_session.portTextChanged(text); }
    void setReplyText(const QString &text) override { m_session.showReply(text); }
    void showProgress(int minimum, int maximum) override {
        emit m_session.progressStarted(minimum, maximum);
    }
    void setProgress(int value) override { emit m_session.progressChanged(value); }
    void hideProgress() override { emit m_session.progressEnded(); }
    void showSerialBeingWritten(const QString &serial) override {
        emit m_session.serialBeingWritten(serial);
    }

private:
    ProgrammerSession &m_session;
};

ProgrammerSession::ProgrammerSession(proglink::LinkContext context, QObject *parent)
    : QObject(parent)
    , m_view(std::make_unique<SignalView>(*this))
    , m_link(context, *m_view) {}

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

bool ProgrammerSession::runExchange(const std::function<void()> &exchange) {
    if (m_busy) {
        refuseBusy();
        return false;
    }
    QString failure;
    {
        const QScopedValueRollback<bool> running(m_busy, true);
        emit busyChanged(true);
        try {
            exchange();
        } catch (const std::exception &error) {
            // A port the system refuses or another program holds: the command stops where it
            // failed and the user is told why.
            failure = QString::fromLocal8Bit(error.what());
        }
    }
    emit busyChanged(false);
    if (!failure.isEmpty())
        emit failed(failure);
    return true;
}

void ProgrammerSession::runOnProgrammer(const std::function<void()> &exchange) {
    if (port() == 0) {
        emit failed(NoProgrammer);
        return;
    }
    runExchange(exchange);
}

void ProgrammerSession::findProgrammer() {
    runExchange([this] {
        m_found = m_link.discover().found;
        if (!m_found) {
            emit commandEvent(CommandEvent::ProgrammerNotFound);
            return;
        }
        emit commandEvent(CommandEvent::ProgrammerFound);
        m_link.applySize(m_receiverSize);
        m_link.applySize(m_tagSize);
    });
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
    runOnProgrammer([&] {
        auto fresh = std::make_unique<userdb::RecordStore>();
        if (m_link.read(device, *fresh) != proglink::DownloadOutcome::Complete)
            return;
        result = std::move(fresh);
        emit progressEnded();
    });
    return result;
}

void ProgrammerSession::program(Device device, const userdb::RecordStore &records,
                                bool verifyAfterwards) {
    runOnProgrammer([&] {
        const int slotCount = memorySlots(device);
        if (!m_link.program(device, slotCount, records) || !verifyAfterwards)
            return;
        // Read back what was just programmed; only a difference is worth a window.
        const proglink::Comparison check = m_link.verify(device, slotCount, records);
        if (check.outcome == proglink::ComparisonOutcome::Differs)
            emit comparisonReady(check.differences, device);
    });
}

void ProgrammerSession::compare(Device device, const userdb::RecordStore &records) {
    runOnProgrammer([&] {
        const proglink::Comparison comparison =
            m_link.compare(device, memorySlots(device), records);
        if (comparison.outcome != proglink::ComparisonOutcome::ReadFailed)
            emit comparisonReady(comparison.differences, device);
    });
}

void ProgrammerSession::enableCapture() {
    // Through the guard: a second start while the mode runs would listen on the same port.
    runOnProgrammer([this] {
        emit commandEvent(CommandEvent::CaptureEntered);
        // A device that went away ended the mode by itself: the commands come back as after
        // Disable. A port that never opened leaves them hidden until Disable.
        if (m_link.capture() == proglink::CaptureEnd::Lost)
            emit commandEvent(CommandEvent::CaptureLeft);
    });
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
