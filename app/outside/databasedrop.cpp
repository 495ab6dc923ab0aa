#include "app/outside/databasedrop.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace app {

DatabaseDrop::DatabaseDrop(QWidget &window)
    : QObject(&window) {
    window.setAcceptDrops(true);
    window.installEventFilter(this);
    for (QWidget *child : window.findChildren<QWidget *>())
        if (child->acceptDrops())
            child->installEventFilter(this);
}

QString DatabaseDrop::databaseIn(const QMimeData *data) {
    if (!data || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return {};
    QString path = urls.first().toLocalFile();
    if (QFileInfo(path).suffix().compare(QLatin1String("fxd"), Qt::CaseInsensitive) != 0)
        return {};
    return path;
}

bool DatabaseDrop::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (databaseIn(drag->mimeData()).isEmpty())
            return false; // the widget's own handling: a box takes text, the window refuses
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QString path = databaseIn(drop->mimeData());
        if (path.isEmpty())
            return false;
        drop->acceptProposedAction();
        QTimer::singleShot(0, this, [this, path] { emit databaseDropped(path); });
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace app
