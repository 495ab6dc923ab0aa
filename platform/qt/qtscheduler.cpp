#include "platform/qt/qtscheduler.h"

#include <QTimer>
#include <cmath>

namespace platform {

void QtScheduler::runAfter(double seconds, std::function<void()> action) {
    // Rounded up: an action never runs before its time.
    const auto ms = std::chrono::milliseconds(qint64(std::ceil(std::max(0.0, seconds) * 1000.0)));
    QTimer::singleShot(ms, &m_owner, std::move(action));
}

} // namespace platform
