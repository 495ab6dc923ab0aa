#pragma once

namespace platform {
class Clock;
class DeviceWatcher;
class Dialogs;
class DocumentDialogs;
class EventLoop;
class FileDialog;
class PortCatalog;
class Scheduler;
class SerialPort;
class SystemInfoHost;
} // namespace platform

namespace proglink {
class TrafficLog;
}

namespace app {

// Everything outside the window that it talks to: real Qt implementations in the program,
// fakes in the tests.
struct Services {
    platform::SerialPort &port; // every character it carries is in trafficLog
    platform::Clock &clock;
    platform::EventLoop &loop;
    platform::Dialogs &dialogs;
    platform::FileDialog &fileDialog;
    platform::SystemInfoHost &systemInfo;
    platform::DocumentDialogs &documents;
    proglink::TrafficLog &trafficLog;
    platform::PortCatalog &portCatalog;
    platform::DeviceWatcher &deviceWatcher;
    platform::Scheduler &scheduler;
};

} // namespace app
