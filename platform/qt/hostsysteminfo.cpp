#include "platform/qt/hostsysteminfo.h"

#include <QFileInfo>
#include <QProcess>
#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace platform {

#ifdef Q_OS_WIN

bool HostSystemInfo::getKeyValue(std::uint32_t keyRoot, const QString &keyName,
                                 const QString &subKeyRef, QString &keyVal) {
    constexpr REGSAM keyAllAccess = 0x2003F; // read control plus every key-specific right
    constexpr DWORD bufferSize = 1024;
    HKEY key = nullptr;
    const HKEY root = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(keyRoot));
    if (RegOpenKeyExA(root, keyName.toLocal8Bit().constData(), 0, keyAllAccess, &key) !=
        ERROR_SUCCESS) {
        keyVal.clear();
        return false;
    }
    char buffer[bufferSize] = {};
    DWORD type = 0;
    DWORD length = bufferSize;
    if (RegQueryValueExA(key, subKeyRef.toLocal8Bit().constData(), nullptr, &type,
                         reinterpret_cast<BYTE *>(buffer), &length) != ERROR_SUCCESS) {
        keyVal.clear();
        RegCloseKey(key);
        return false;
    }
    QByteArray value(buffer, int(std::min<DWORD>(length, bufferSize)));
    if (!value.isEmpty() && value.endsWith('\0'))
        value.chop(1);
    if (type == REG_SZ) {
        keyVal = QString::fromLocal8Bit(value);
    } else if (type == REG_DWORD) {
        // Bytes from last to first, each as its hexadecimal digits.
        QString digits;
        for (qsizetype i = value.size() - 1; i >= 0; --i)
            digits += QString::number(quint8(value.at(i)), 16).toUpper();
        keyVal = QStringLiteral("&h") + digits;
    }
    RegCloseKey(key);
    return true;
}

#else

bool HostSystemInfo::getKeyValue(std::uint32_t, const QString &, const QString &, QString &keyVal) {
    keyVal.clear(); // this platform has no registry
    return false;
}

#endif

bool HostSystemInfo::fileExists(const QString &path) {
    return QFileInfo(path).isFile();
}

bool HostSystemInfo::startProgram(const QString &path) {
    return QProcess::startDetached(path, {});
}

} // namespace platform
