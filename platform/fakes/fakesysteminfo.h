#pragma once

#include "platform/systeminfo.h"

#include <QHash>
#include <QSet>
#include <QStringList>

namespace platform {

// A system-information host with a registry of the test's making, recording what it was asked
// to start.
class FakeSystemInfo : public SystemInfoHost {
public:
    QHash<QString, QString> values; // "key|value" -> text
    QSet<QString> files;
    QStringList started;

    bool getKeyValue(std::uint32_t, const QString &keyName, const QString &subKeyRef,
                     QString &keyVal) override {
        keyVal = values.value(keyName + QLatin1Char('|') + subKeyRef);
        return values.contains(keyName + QLatin1Char('|') + subKeyRef);
    }
    bool fileExists(const QString &path) override { return files.contains(path); }
    bool startProgram(const QString &path) override {
        started.append(path);
        return true;
    }
};

} // namespace platform
