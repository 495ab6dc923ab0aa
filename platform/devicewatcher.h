#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace platform {

// Tells when serial devices come and go (an adapter plugged in or pulled out, a link to a
// device made or removed) as the system reports it, without polling.
class DeviceWatcher {
public:
    // A device at `path` has appeared (present) or disappeared.
    using Changed = std::function<void(const QString &path, bool present)>;

    virtual ~DeviceWatcher() = default;
    // Watches exactly `paths` (the items of REMLET_PORTS, a pinned path) or, when there are
    // none, the USB and ACM serial adapters (ttyUSB*, ttyACM*). `changed` runs from the event
    // loop for every change after this call. A later call replaces the watch.
    virtual void watch(const QStringList &paths, Changed changed) = 0;
    // The watched devices that are there now.
    virtual QStringList presentDevices() const = 0;
};

} // namespace platform
