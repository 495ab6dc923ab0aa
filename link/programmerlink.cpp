#include "link/programmerlink.h"

#include "link/verify.h"

namespace proglink {

DiscoveryResult ProgrammerLink::discover() {
    DiscoveryResult result = discoverProgrammer(m_context, m_view, m_buffer);
    if (result.found)
        m_port = result.port;
    return result;
}

void ProgrammerLink::applySize(MemorySize size) {
    runMemorySizeCommand(m_context, m_port, size);
}

bool ProgrammerLink::runDeviceCommand(DeviceCommand command) {
    return proglink::runDeviceCommand(m_context, m_port, command);
}

DownloadOutcome ProgrammerLink::read(Device device, userdb::RecordStore &freshStore) {
    return downloadMemory(m_context, m_view, m_port, device, m_buffer, freshStore);
}

UploadResult ProgrammerLink::program(Device device, int memorySlots,
                                     const userdb::RecordStore &store) {
    return uploadMemory(m_context, m_view, m_port, device, memorySlots, store);
}

Comparison ProgrammerLink::compare(Device device, int slotCount,
                                   const userdb::RecordStore &database) {
    return readAndCompare(m_context, m_view, m_port, device, slotCount, m_buffer, database);
}

Comparison ProgrammerLink::verify(Device device, int memorySlots,
                                  const userdb::RecordStore &database) {
    return verifyProgrammed(m_context, m_view, m_port, device, memorySlots, m_buffer, database);
}

CaptureEnd ProgrammerLink::capture() {
    return m_capture.run(m_context, m_view, m_port, m_buffer);
}

} // namespace proglink
