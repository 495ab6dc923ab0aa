#pragma once
// One zepro-sim process on a pseudo-terminal, stopped when it goes out of scope: what the
// programs that drive a real serial port (the pseudo-terminal tests, the benchmarks) run
// against. The simulator prints its port's path as its first line.
#include <QProcess>

namespace sim {

class SimulatorProcess {
public:
    // `program` is the zepro-sim executable; by default the one ZEPRO_SIM names, as the test
    // runner sets it.
    explicit SimulatorProcess(const QStringList &options,
                              const QString &program = qEnvironmentVariable("ZEPRO_SIM"));
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess &) = delete;
    SimulatorProcess &operator=(const SimulatorProcess &) = delete;

    bool started() const { return !path.isEmpty(); }
    void stop();

    QProcess process;
    QString path; // the port's path; empty: the simulator did not start
};

} // namespace sim
