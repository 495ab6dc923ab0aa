#include "link/portpreparation.h"

namespace proglink {

void openPort(platform::SerialPort &serial, int port) {
    serial.selectPort(port);
    serial.applySettings(QStringLiteral("9600"));
    serial.setReadLength(1);
    if (!serial.isOpen())
        serial.open();
}

void preparePort(platform::SerialPort &serial, int port) {
    openPort(serial, port);
    serial.flushInput();
}

void closeQuietly(platform::SerialPort &serial) {
    try {
        if (serial.isOpen())
            serial.close();
    } catch (const platform::PortError &) {
    }
}

} // namespace proglink
