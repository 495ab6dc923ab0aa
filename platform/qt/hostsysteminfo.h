#pragma once

#include "platform/systeminfo.h"

namespace platform {

// Registry lookup (Windows only; elsewhere every lookup fails), file test and program start.
class HostSystemInfo : public SystemInfoHost {
public:
    bool getKeyValue(std::uint32_t keyRoot, const QString &keyName, const QString &subKeyRef,
                     QString &keyVal) override;
    bool fileExists(const QString &path) override;
    bool startProgram(const QString &path) override;
};

} // namespace platform
