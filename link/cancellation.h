#pragma once

namespace proglink {

// The user's request to stop a running Read, Compare, Verify or Program (the Cancel button,
// Escape). It is set from the event loop while the command waits in it; the command's waits
// see it within a tenth of a second, close the port and end as cancelled.
class Cancellation {
public:
    void request() { m_requested = true; }
    // Before each command that may be cancelled: an old request must not stop it.
    void reset() { m_requested = false; }
    bool isRequested() const { return m_requested; }

private:
    bool m_requested = false;
};

} // namespace proglink
