#pragma once

#include <QObject>
#include <csignal>

class QSocketNotifier;

namespace cli {

// SIGINT and SIGTERM as a request to finish cleanly rather than an abrupt end: while an object
// of this class lives, each of them writes a byte into a pipe whose notifier the event loop
// watches, so the request arrives as the signal `stopRequested` inside any wait of the link.
// One object at a time.
class StopSignals : public QObject {
    Q_OBJECT
public:
    explicit StopSignals(QObject *parent = nullptr);
    ~StopSignals() override;
    StopSignals(const StopSignals &) = delete;
    StopSignals &operator=(const StopSignals &) = delete;

    // Whether the signals could be caught.
    bool isActive() const { return m_notifier != nullptr; }
    // Whether SIGINT or SIGTERM has come (and been seen by the event loop).
    bool requested() const { return m_requested; }

signals:
    void stopRequested();

private:
    void readPipe();

    QSocketNotifier *m_notifier = nullptr;
    bool m_requested = false;
    struct sigaction m_oldInt {};
    struct sigaction m_oldTerm {};
};

} // namespace cli
