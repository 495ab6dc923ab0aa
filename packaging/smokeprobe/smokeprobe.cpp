// A Qt generic plugin that watches a program it is loaded into, without changing it: once the
// main window is exposed on the screen, it checks that the window icon and every toolbar image
// can be drawn, reports what it saw on standard error, and closes the window as a user would.
// The program then ends by itself, so its exit status tells whether it ended cleanly.
#include <QAction>
#include <QApplication>
#include <QGenericPlugin>
#include <QMainWindow>
#include <QTimer>
#include <QToolBar>
#include <QWindow>
#include <cstdio>

namespace {

QMainWindow *mainWindowOf(const QWindow *window) {
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->windowHandle() == window)
            return qobject_cast<QMainWindow *>(widget);
    return nullptr;
}

// Images come from SVG files: a missing SVG plugin or resource draws nothing.
QString missingImages(const QMainWindow &window, int &toolbarImages) {
    QStringList missing;
    if (QApplication::windowIcon().pixmap(QSize(32, 32)).isNull())
        missing << QStringLiteral("application icon");
    toolbarImages = 0;
    for (const QToolBar *bar : window.findChildren<QToolBar *>())
        for (const QAction *action : bar->actions()) {
            if (action->isSeparator())
                continue;
            ++toolbarImages;
            if (action->icon().pixmap(bar->iconSize()).isNull())
                missing << action->objectName();
        }
    return missing.join(QStringLiteral(", "));
}

class SmokeProbe : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (m_seen || event->type() != QEvent::Expose)
            return false;
        auto *window = qobject_cast<QWindow *>(watched);
        QMainWindow *mainWindow = window && window->isExposed() ? mainWindowOf(window) : nullptr;
        if (!mainWindow)
            return false;
        m_seen = true;
        // Look once the exposure has been handled, as a person looking at the screen would.
        QTimer::singleShot(0, mainWindow, [mainWindow] { inspectAndClose(mainWindow); });
        return false;
    }

private:
    static void inspectAndClose(QMainWindow *window) {
        int toolbarImages = 0;
        const QString missing = missingImages(*window, toolbarImages);
        if (window->windowTitle().isEmpty() || !missing.isEmpty()) {
            std::fprintf(stderr, "smoke probe: FAILED: title \"%s\", images not drawn: %s\n",
                         qPrintable(window->windowTitle()), qPrintable(missing));
            QCoreApplication::exit(1);
            return;
        }
        std::fprintf(stderr, "smoke probe: shown \"%s\" with its icon and %d toolbar images\n",
                     qPrintable(window->windowTitle()), toolbarImages);
        window->close();
    }

    bool m_seen = false;
};

} // namespace

class SmokeProbePlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "smokeprobe.json")

public:
    QObject *create(const QString &key, const QString &) override {
        if (key.compare(QLatin1String("remletsmokeprobe"), Qt::CaseInsensitive) != 0)
            return nullptr;
        auto *probe = new SmokeProbe;
        QCoreApplication::instance()->installEventFilter(probe);
        return probe;
    }
};

#include "smokeprobe.moc"
