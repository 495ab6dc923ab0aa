#include "sim/simulatorprocess.h"

namespace sim {

SimulatorProcess::SimulatorProcess(const QStringList &options, const QString &program) {
    process.start(program, options);
    if (process.waitForStarted() && process.waitForReadyRead(5000))
        path = QString::fromLocal8Bit(process.readLine().trimmed());
}

SimulatorProcess::~SimulatorProcess() {
    stop();
}

void SimulatorProcess::stop() {
    process.terminate();
    if (!process.waitForFinished(3000))
        process.kill();
}

} // namespace sim
