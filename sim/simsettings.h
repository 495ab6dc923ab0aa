#pragma once

#include "sim/options.h"

#include <QString>
#include <QStringList>

namespace sim {

// What the zepro-sim command line asks for.
struct SimSettings {
    ProgrammerOptions programmer;
    bool pacing = true;
    QString linkPath;
    QString statePath;
    double captureEvery = 0.0;
    QString captureLinesPath; // empty: the steady stream of fobs
};

struct ParsedCommandLine {
    SimSettings settings;
    bool showHelp = false;
    bool showVersion = false;
    QString helpText;
    QString error; // empty when the command line is good
};

ParsedCommandLine parseCommandLine(const QStringList &arguments);

} // namespace sim
