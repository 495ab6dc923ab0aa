#pragma once

#include "link/device.h"

#include <QString>
#include <QStringList>

namespace cli {

enum class Action { Find, Read, Program, Compare };

// What the command line asks for.
struct Request {
    Action action = Action::Find;
    proglink::Device device = proglink::Device::Receiver;
    QString file;
    QString portPath; // empty: search the ports as the window does
    int slotCount = 340;
    // find, read and compare tell the programmer the size only when asked to: a size command
    // changes the device (a 340-slot receiver told 85 keeps 85 slots).
    bool sizesGiven = false;
    QString logPath; // empty: no traffic log
};

struct ParsedCommandLine {
    Request request;
    bool showHelp = false;
    bool showVersion = false;
    QString helpText;
    QString error; // empty when the command line is good
};

ParsedCommandLine parseCommandLine(const QStringList &arguments);

} // namespace cli
