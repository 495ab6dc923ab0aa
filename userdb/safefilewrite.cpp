#include "userdb/safefilewrite.h"

#include "userdb/filemessage.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace userdb {

namespace {

// The file that writing `path` really changes: a symbolic link's target.
QString finalPath(const QString &path) {
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    return info.exists() ? info.canonicalFilePath() : info.symLinkTarget();
}

#ifdef Q_OS_UNIX
// The permission bits the new file at `finalPath` gets: the old file's, else what a new file
// gets under the process's file mode mask.
mode_t permissionBitsFor(const QString &finalPath) {
    struct stat old {};
    if (::stat(QFile::encodeName(finalPath).constData(), &old) == 0)
        return old.st_mode & 07777 & ~mode_t(S_ISUID | S_ISGID);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Flushes the temporary file to the disk before it takes the old one's place, so that a crash
// cannot leave an empty file under the old name.
QString syncToDisk(const QString &temporaryPath) {
    const int fd = ::open(QFile::encodeName(temporaryPath).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    const bool synced = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    return synced ? QString() : QString::fromLocal8Bit(std::strerror(error));
}
#endif

} // namespace

QString writeAllTo(QIODevice &device, const QByteArray &bytes) {
    if (device.write(bytes) == bytes.size())
        return {};
    const QString reason = device.errorString();
    return reason.isEmpty() || reason == QLatin1String("Unknown error")
               ? QStringLiteral("Not all of the data could be written.")
               : reason;
}

QString writeTargetError(const QString &path, const QString &verb) {
    const QFileInfo info(path); // a symbolic link answers for its target
    if (!info.exists())
        return {};
    if (info.isDir())
        return fileMessage(verb, path, folderReason());
    if (!info.isFile())
        return fileMessage(verb, path, notRegularFileReason());
#ifdef Q_OS_UNIX
    const QByteArray native = QFile::encodeName(path);
    struct stat target {};
    if (::stat(native.constData(), &target) != 0)
        return {}; // gone since: the write itself reports what it meets
    // The system lets root write any file; a mode without write bits still means "keep it".
    if ((target.st_mode & 0222) == 0)
        return fileMessage(verb, path, QStringLiteral("The file is read-only."));
    if (::access(native.constData(), W_OK) != 0)
        return fileMessage(verb, path,
                           errno == EROFS
                               ? QStringLiteral("The file is on a read-only file system.")
                               : QStringLiteral("You have no permission to change the file."));
#else
    if (!info.isWritable())
        return fileMessage(verb, path, QStringLiteral("The file is read-only."));
#endif
    return {};
}

QString replaceFile(const QString &path, const QByteArray &bytes, const QString &verb) {
    if (QString error = writeTargetError(path, verb); !error.isEmpty())
        return error;
    // QSaveFile writes a symbolic link's target and keeps the old file's permission bits.
    QSaveFile file(path);
    // Unbuffered: a write cut short (full disk, size limit) shows up in the write itself, not
    // in commit()'s final flush, which does not report a partial write.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fileMessage(verb, path, file.errorString());
    const QString writeError = writeAllTo(file, bytes);
    if (!writeError.isEmpty()) {
        file.cancelWriting();
        return fileMessage(verb, path, writeError);
    }
    if (!file.commit())
        return fileMessage(verb, path, file.errorString());
    return {};
}

QString replaceFileThrough(const QString &path, const QString &verb,
                           const std::function<QString(const QString &temporaryPath)> &write) {
    if (QString error = writeTargetError(path, verb); !error.isEmpty())
        return error;
    const QString target = finalPath(path);
    const QFileInfo targetInfo(target);
    // Beside the target, so that the rename is one step on one file system.
    QTemporaryFile temporary(targetInfo.absolutePath() + QStringLiteral("/.") +
                             targetInfo.fileName() + QStringLiteral(".XXXXXX"));
    if (!temporary.open())
        return fileMessage(verb, path, temporary.errorString());
    temporary.close();
    const QString temporaryPath = temporary.fileName();
    if (const QString reason = write(temporaryPath); !reason.isEmpty())
        return fileMessage(verb, path, reason);
#ifdef Q_OS_UNIX
    const QByteArray nativeTemporary = QFile::encodeName(temporaryPath);
    if (::chmod(nativeTemporary.constData(), permissionBitsFor(target)) != 0)
        return fileMessage(verb, path, QString::fromLocal8Bit(std::strerror(errno)));
    if (const QString reason = syncToDisk(temporaryPath); !reason.isEmpty())
        return fileMessage(verb, path, reason);
#endif
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(QFile::encodeName(temporaryPath).toStdString()),
                            std::filesystem::path(QFile::encodeName(target).toStdString()), error);
    if (error)
        return fileMessage(verb, path, QString::fromLocal8Bit(error.message().c_str()));
    temporary.setAutoRemove(false); // it is the target now
    return {};
}

} // namespace userdb
