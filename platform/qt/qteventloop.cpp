#include "platform/qt/qteventloop.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <cmath>

namespace platform {

void QtEventLoop::yield() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtEventLoop::waitForEvents(double maxSeconds) {
    // Round up, so that a wait never ends before its time and makes the caller wait again
    // for a fraction of a millisecond.
    const double ms = std::ceil(std::max(0.0, maxSeconds) * 1000.0);
    const int timeout = ms > 1e9 ? 1000000000 : int(ms);
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.setTimerType(Qt::PreciseTimer);
    wakeUp.start(timeout);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

} // namespace platform
