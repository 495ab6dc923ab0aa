#pragma once

#include <QString>
#include <QStringList>

namespace platform {
class PortCatalog;
}

namespace app {

// The device path the user pinned in the Programmer Port dialog, kept between runs; empty:
// Automatic.
QString savedPinnedPort();
void savePinnedPort(const QString &path);
// At start-up, before the first discovery: the port table takes the saved path again.
void restorePinnedPort(platform::PortCatalog &catalog);

// The paths hot-plug watches for the programmer: REMLET_PORTS's items when it is set, else the
// pinned path; none (the USB and ACM adapters) when the scan covers the system's ports.
QStringList pathsToWatch(const platform::PortCatalog &catalog);

} // namespace app
