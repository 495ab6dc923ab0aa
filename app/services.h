#pragma once

namespace platform {
class Clock;
class Dialogs;
class DocumentDialogs;
class EventLoop;
class FileDialog;
class SerialPort;
class SystemInfoHost;
} // namespace platform

namespace app {

// Everything outside the window that it talks to: real Qt implementations in the program,
// fakes in the tests.
struct Services {
    platform::SerialPort &port;
    platform::Clock &clock;
    platform::EventLoop &loop;
    platform::Dialogs &dialogs;
    platform::FileDialog &fileDialog;
    platform::SystemInfoHost &systemInfo;
    platform::DocumentDialogs &documents;
};

} // namespace app
