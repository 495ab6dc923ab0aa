#include "userdb/untitledname.h"

#include <QFileInfo>

namespace userdb {

QString firstFreeUntitledName(const QDir &folder) {
    for (int number = 1;; ++number) {
        QString name = number == 1 ? QStringLiteral("Untitled.fxd")
                                   : QStringLiteral("Untitled %1.fxd").arg(number);
        // A dangling symbolic link counts as taken: writing there would create its target.
        const QFileInfo info(folder.filePath(name));
        if (!info.exists() && !info.isSymLink())
            return name;
    }
}

} // namespace userdb
