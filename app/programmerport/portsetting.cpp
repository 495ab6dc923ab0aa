#include "app/programmerport/portsetting.h"

#include "platform/portcatalog.h"

#include <QSettings>

namespace app {

namespace {
const QString PinnedPortKey = QStringLiteral("Programmer/PinnedPort");
} // namespace

QString savedPinnedPort() {
    return QSettings().value(PinnedPortKey).toString();
}

void savePinnedPort(const QString &path) {
    if (path.isEmpty())
        QSettings().remove(PinnedPortKey);
    else
        QSettings().setValue(PinnedPortKey, path);
}

void restorePinnedPort(platform::PortCatalog &catalog) {
    catalog.pinPath(savedPinnedPort());
}

QStringList pathsToWatch(const platform::PortCatalog &catalog) {
    if (const QString configured = catalog.environmentPorts(); !configured.isEmpty())
        return configured.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if (const QString pinned = catalog.pinnedPath(); !pinned.isEmpty())
        return {pinned};
    return {};
}

} // namespace app
