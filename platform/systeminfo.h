#pragma once

#include <QString>
#include <cstdint>

namespace platform {

// Registry lookup and program start behind the About box's System Info button.
// Where the platform has no such registry, getKeyValue() always fails.
class SystemInfoHost {
public:
    static constexpr std::uint32_t HKEY_LOCAL_MACHINE_ROOT = 0x80000002u;

    virtual ~SystemInfoHost() = default;
    // Reads value subKeyRef of key keyName below keyRoot into keyVal; false (and keyVal
    // empty) when the key or the value cannot be read.
    virtual bool getKeyValue(std::uint32_t keyRoot, const QString &keyName,
                             const QString &subKeyRef, QString &keyVal) = 0;
    virtual bool fileExists(const QString &path) = 0;
    // Starts the program in a normal window with the focus; false when it cannot start.
    virtual bool startProgram(const QString &path) = 0;
};

} // namespace platform
