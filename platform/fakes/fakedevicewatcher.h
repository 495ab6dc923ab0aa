#pragma once

#include "platform/devicewatcher.h"

namespace platform {

// Devices appear and vanish when the test says so.
class FakeDeviceWatcher : public DeviceWatcher {
public:
    // Every path is watched: the test says which devices come and go.
    void watch(const QStringList &, Changed changed) override { m_changed = std::move(changed); }
    QStringList presentDevices() const override { return m_present; }

    void appear(const QString &path) { change(path, true); }
    void vanish(const QString &path) { change(path, false); }

private:
    void change(const QString &path, bool present) {
        if (present)
            m_present.append(path);
        else
            m_present.removeAll(path);
        if (m_changed)
            m_changed(path, present);
    }

    QStringList m_present;
    Changed m_changed;
};

} // namespace platform
