#pragma once
// One zepro-sim process (the ZEPRO_SIM executable) on a pseudo-terminal, stopped when it goes
// out of scope. Its port's path is the first line it prints.
#include <QFileInfo>
#include <QProcess>

class SimulatorProcess {
public:
    explicit SimulatorProcess(const QStringList &options) {
        process.start(qEnvironmentVariable("ZEPRO_SIM"), options);
        if (process.waitForStarted() && process.waitForReadyRead(5000))
            path = QString::fromLocal8Bit(process.readLine().trimmed());
    }
    ~SimulatorProcess() {
        process.terminate();
        if (!process.waitForFinished(3000))
            process.kill();
    }
    QProcess process;
    QString path; // empty: it did not start
};
