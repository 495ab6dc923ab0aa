#pragma once

#include "link/capture.h"
#include "link/compare.h"
#include "link/device.h"
#include "link/devicecommands.h"
#include "link/discovery.h"
#include "link/download.h"
#include "link/linkcontext.h"
#include "link/memorysize.h"
#include "link/replybuffer.h"
#include "link/upload.h"
#include "userdb/recordstore.h"

namespace proglink {

// The programmer as one program talks to it: the serial line, the port number discovery found
// (0 until then), the reply buffer and capture mode, with each operation taking only what
// differs from one call to the next. The window's programmer session and remletctl both work
// through one of these.
class ProgrammerLink {
public:
    ProgrammerLink(LinkContext context, ProgrammerView &view)
        : m_context(context)
        , m_view(view) {}

    LinkContext &context() { return m_context; }
    ProgrammerView &view() { return m_view; }
    ReplyBuffer &buffer() { return m_buffer; }

    // The port number the programmer answered on; a failed search keeps the previous one.
    int port() const { return m_port; }
    // Takes `port` as the programmer's without asking (a device named on the command line).
    void usePort(int port) { m_port = port; }

    // Scans the ports for the programmer; on success its port becomes port().
    DiscoveryResult discover();
    // Tells the programmer a memory size, with its message box. Nothing is sent before a port
    // is known; a port that cannot be used ends it silently.
    void applySize(MemorySize size);
    bool runDeviceCommand(DeviceCommand command);
    // Reads the device into `freshStore`, which the caller takes over only on Complete.
    DownloadOutcome read(Device device, userdb::RecordStore &freshStore);
    UploadResult program(Device device, int memorySlots, const userdb::RecordStore &store);
    Comparison compare(Device device, int slotCount, const userdb::RecordStore &database);
    Comparison verify(Device device, int memorySlots, const userdb::RecordStore &database);
    // Runs capture mode until stopCapture() or a port failure.
    CaptureEnd capture();
    void stopCapture() { m_capture.requestStop(); }
    bool isCapturing() const { return m_capture.isRunning(); }

private:
    LinkContext m_context;
    ProgrammerView &m_view;
    ReplyBuffer m_buffer;
    InternalReceiverCapture m_capture;
    int m_port = 0;
};

} // namespace proglink
