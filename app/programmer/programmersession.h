#pragma once

#include "app/commandstates.h"
#include "link/cancellation.h"
#include "link/hotplug.h"
#include "link/programmerlink.h"
#include "link/quietabledialogs.h"
#include "link/slotvalues.h"

#include <QObject>
#include <functional>
#include <map>
#include <memory>

namespace app {

// The window's side of the programmer: the port it was found on, the link, the reply buffer,
// capture mode, the memory sizes chosen, one exchange at a time, the cancelling of a transfer
// and the noticing of a programmer plugged in or pulled out. Each programmer command of the
// window is one call here, with the device as an argument; what the window is to show comes
// back as signals.
//
// While one exchange waits for the programmer, another is refused with a beep and a notice:
// a second exchange on the same port would take the first one's replies.
class ProgrammerSession : public QObject {
    Q_OBJECT
public:
    // `watcher` and `scheduler` serve hot-plug; see watchPorts().
    ProgrammerSession(proglink::LinkContext context, platform::DeviceWatcher &watcher,
                      platform::Scheduler &scheduler, QObject *parent = nullptr);
    ~ProgrammerSession() override;

    // The port the programmer last answered on: 0 until a search first finds it.
    int port() const { return m_link.port(); }
    // Whether the last search found the programmer, and its device is still there.
    bool isFound() const { return m_found; }
    // Whether an exchange (capture mode included) waits for the programmer.
    bool isBusy() const { return m_busy; }
    bool isCapturing() const { return m_link.isCapturing(); }
    // A read or a program works on the records and the file name; capture mode does not.
    bool isTransferring() const { return m_busy && !isCapturing(); }
    // A Read, Compare, Verify or Program runs, which cancelTransfer() can stop.
    bool canCancel() const { return m_busy && m_cancellable; }
    // Refuses (true, with a beep and a notice) while a transfer works on the records: a command
    // that replaces, reorders or renames them must wait.
    bool refuseWhileTransferring();
    // Beeps and says the programmer is busy.
    void refuseBusy();

    proglink::MemorySize receiverSize() const { return m_receiverSize; }
    proglink::MemorySize tagSize() const { return m_tagSize; }
    // How many slots a transfer to or from `device` covers: 85 or 340, from the sizes chosen.
    int memorySlots(proglink::Device device) const;
    // The last fob serial that capture mode showed; empty until one came.
    QString capturedSerial() const { return m_capturedSerial; }

    // Searches the ports; when the programmer answers, tells it both sizes.
    void findProgrammer();
    // Chooses a size and tells the programmer (once one is found). False when refused because
    // the programmer is busy: the previous size stays chosen.
    bool chooseSize(proglink::MemorySize size);
    void runDeviceCommand(proglink::DeviceCommand command);
    // Reads the device into a new store: null unless the whole memory was read.
    std::unique_ptr<userdb::RecordStore> read(proglink::Device device);
    // Programs the device from `records`, read as the upload goes; a slot that changes after it
    // went out is named in a warning. Then, when asked, reads the device back and announces the
    // comparison when something differs.
    void program(proglink::Device device, const userdb::RecordStore &records,
                 bool verifyAfterwards);
    // Reads the device into a store of its own and announces how it differs from `records`.
    void compare(proglink::Device device, const userdb::RecordStore &records);
    // Stops a running Read, Compare, Verify or Program within a fifth of a second; true when
    // there was one to stop.
    bool cancelTransfer();
    // Runs capture mode until disableCapture() or a port failure, and tells how it ended:
    // Refused when another exchange waits or no programmer was ever found.
    proglink::CaptureEnd enableCapture();
    // Asks the running capture mode to switch off; always allowed.
    void disableCapture();
    // The window closes: the port closes, so any wait ends at once, and capture mode stops
    // without its switch-off command.
    void shutDown();

    // Hot-plug: while no programmer is found and nothing runs, a device that appears among
    // `paths` (none: the USB and ACM adapters) is searched without a click; the programmer's
    // device going away is noticed. Call again when the choice of port changes.
    void watchPorts(const QStringList &paths);

signals:
    void statusTextChanged(const QString &text); // status panel 1
    void portTextChanged(const QString &text);   // status panel 2
    void replyTextChanged(const QString &text);  // the reply label
    void progressStarted(int minimum, int maximum);
    void progressChanged(int value);
    void progressEnded();
    void serialBeingWritten(const QString &serial);
    // A brief note in the status bar, such as the programmer being busy.
    void notice(const QString &text);
    // A failure the user must see.
    void failed(const QString &text);
    // The events of the command-state table that the commands raise.
    void commandEvent(app::CommandEvent event);
    void busyChanged(bool busy);
    void capturedSerialChanged(const QString &serial);
    void comparisonReady(const QList<proglink::SlotDifference> &differences,
                         proglink::Device device);

private:
    class SignalView;
    class HotPlugAdapter;

    // Runs one exchange unless another waits; false when refused. A failure that escapes it
    // (a port the system refuses) is announced, and the session goes on.
    bool runExchange(const std::function<void()> &exchange, bool cancellable = false);
    // As runExchange, for commands that need the programmer's port: before any search has
    // found it, says so and sends nothing.
    void runOnProgrammer(const std::function<void()> &exchange, bool cancellable = false);
    void showReply(const QString &text);
    void showPortText(const QString &text);
    void noteProgress(int value);
    // The slots sent whose values have changed since: they are not in the device.
    QList<int> slotsChangedSinceSent(const userdb::RecordStore &records) const;
    void discoverQuietly();
    void programmerGone();

    std::unique_ptr<SignalView> m_view;
    proglink::QuietableDialogs m_dialogs;
    proglink::Cancellation m_cancel;
    proglink::ProgrammerLink m_link;
    std::unique_ptr<HotPlugAdapter> m_hotPlugClient;
    proglink::HotPlugController m_hotPlug;
    bool m_found = false;
    bool m_busy = false;
    bool m_cancellable = false;
    QString m_portText;
    // The sizes as last accepted: a choice refused while the programmer is busy goes back to
    // them, so the window never shows a size the programmer was not told.
    proglink::MemorySize m_receiverSize = proglink::MemorySize::Receiver340;
    proglink::MemorySize m_tagSize = proglink::MemorySize::Tag340;
    QString m_capturedSerial;
    // While an upload runs: the records it sends and what each slot held when it went out.
    const userdb::RecordStore *m_uploading = nullptr;
    std::map<int, proglink::SlotValues> m_sent;
};

} // namespace app
