#pragma once

#include "link/device.h"

#include <QString>
#include <QStringList>

namespace cli {

enum class Action { Find, Read, Program, Compare, Enrol, Export, Import };

// What the command line asks for.
struct Request {
    Action action = Action::Find;
    proglink::Device device = proglink::Device::Receiver;
    QString file;       // the database file; for import, the spreadsheet read
    QString output;     // export: the spreadsheet written; import: the database file written
    bool force = false; // import may replace an existing database file
    QString portPath;   // empty: search the ports as the window does
    int slotCount = 340;
    // find, read and compare tell the programmer the size only when asked to: a size command
    // changes the device (a 340-slot receiver told 85 keeps 85 slots).
    bool sizesGiven = false;
    QString logPath; // empty: no traffic log
    int count = 0;   // enrol: stop after this many fobs; 0: no limit
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
