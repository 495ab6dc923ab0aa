#pragma once

#include <QByteArray>

namespace sim {

// How the simulated programmer behaves, faults included. The defaults give a healthy device.
struct ProgrammerOptions {
    QByteArray versionText = "2.4"; // what follows "ZEPRO V" in the identification line
    bool silent = false;            // answers nothing and carries nothing out
    double ackDelay = 0.0;          // seconds of silence before the "OK" of a changing command
    bool echo = false;              // sends each command back before its reply
    bool lowercase = false;         // "ok", "zepro v..."
    bool crlf = false;              // lines end with CR LF
    bool noFinalCr = false;         // each reply lacks its last line end
    bool endless = false;           // answers every command with characters that never end
    int hangUpAfter = 0;            // hangs up once this many commands are answered; 0: never
    char hangUpOn = 0;              // hangs up instead of answering this letter; 0: never
    int readErrorAt = 0;            // a read reports "?" instead of this slot; 0: never
    char floodAfter = 0;            // after answering this letter, sends without end; 0: never
    double dripSeconds = 0.0;       // every reply leaves one character every this many seconds
    int dropWrite = 0;              // acknowledges a write of this slot but keeps nothing; 0: never
};

} // namespace sim
