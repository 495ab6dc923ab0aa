#include "platform/fakes/faketimeline.h"

#include <algorithm>

namespace platform {

void FakeTimeline::at(double time, std::function<void()> action) {
    m_actions.emplace(time, std::move(action));
}

bool FakeTimeline::runDueActions() {
    bool ran = false;
    while (!m_actions.empty() && m_actions.begin()->first <= m_now) {
        auto action = std::move(m_actions.begin()->second);
        m_actions.erase(m_actions.begin());
        action(); // may schedule more, may re-enter yield()
        ran = true;
    }
    return ran;
}

void FakeTimeline::yield() {
    runDueActions();
}

void FakeTimeline::waitForEvents(double maxSeconds) {
    ++m_waits;
    if (runDueActions())
        return;
    const double limit = m_now + std::max(0.0, maxSeconds);
    if (!m_actions.empty() && m_actions.begin()->first <= limit)
        m_now = std::max(m_now, m_actions.begin()->first);
    else
        m_now = limit;
    runDueActions();
}

void FakeTimeline::advance(double seconds) {
    const double target = m_now + seconds;
    while (!m_actions.empty() && m_actions.begin()->first <= target) {
        m_now = std::max(m_now, m_actions.begin()->first);
        runDueActions();
    }
    m_now = target;
}

} // namespace platform
