#pragma once

#include "platform/portcatalog.h"

namespace platform {

// A port list of the test's making; records the path pinned.
class FakePortCatalog : public PortCatalog {
public:
    QList<PortDescription> listed;
    QString environment; // as if REMLET_PORTS held this

    QList<PortDescription> ports() override { return listed; }
    QString environmentPorts() const override { return environment; }
    void pinPath(const QString &path) override { m_pinned = path; }
    QString pinnedPath() const override { return m_pinned; }

private:
    QString m_pinned;
};

} // namespace platform
