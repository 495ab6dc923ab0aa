#include "app/toolwindows/toolwindowplacer.h"

#include "app/toolwindows/toolwindowplacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace app {

namespace {

// The window manager's frame round a shown window; none is known before the first show.
QMargins frameMargins(const QWidget &window) {
    if (!window.isVisible())
        return {};
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(),
            frame.right() - client.right(), frame.bottom() - client.bottom()};
}

QSize grown(const QSize &size, const QMargins &margins) {
    return size + QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
}

} // namespace

ToolWindowPlacer::ToolWindowPlacer(QWidget &window, QString settingsKey)
    : QObject(&window)
    , m_window(window)
    , m_key(std::move(settingsKey)) {
    window.installEventFilter(this);
}

void ToolWindowPlacer::setAnchor(QWidget *mainWindow, QWidget *keepVisible) {
    m_mainWindow = mainWindow;
    m_keepVisible = keepVisible;
}

std::optional<QRect> ToolWindowPlacer::rememberedPlace(const QString &settingsKey) {
    const QRect place = QSettings().value(settingsKey).toRect();
    if (!place.isValid())
        return std::nullopt;
    return place;
}

void ToolWindowPlacer::placeBeforeShowing() {
    const std::optional<QRect> remembered = rememberedPlace(m_key);
    const QWidget *main = m_mainWindow;
    const QScreen *screen = remembered ? QGuiApplication::screenAt(remembered->center()) : nullptr;
    if (!screen)
        screen = main ? main->screen() : m_window.screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    // This window's frame will be as wide as the main window's: same window manager.
    const QMargins margins = main ? frameMargins(*main) : QMargins();
    if (remembered) {
        m_window.setGeometry(
            fitIntoScreen(remembered->marginsAdded(margins), available).marginsRemoved(margins));
        return;
    }
    if (!main || !main->isVisible()) {
        m_window.resize(m_window.size().boundedTo(available.size()));
        return;
    }
    QRect keep;
    if (m_keepVisible && m_keepVisible->isVisible())
        keep = QRect(m_keepVisible->mapToGlobal(QPoint(0, 0)), m_keepVisible->size());
    const QRect frame =
        placeToolWindow(available, main->frameGeometry(), keep, grown(m_window.size(), margins),
                        grown(m_window.minimumSizeHint(), margins));
    m_window.setGeometry(frame.marginsRemoved(margins));
}

void ToolWindowPlacer::keepFrameOnScreen() {
    const QScreen *screen = m_window.screen();
    if (!screen || !m_window.isVisible() || m_window.isMaximized() || m_window.isFullScreen())
        return;
    const QRect available = screen->availableGeometry();
    const QRect frame = m_window.frameGeometry();
    if (!available.contains(frame))
        m_window.setGeometry(
            fitIntoScreen(frame, available).marginsRemoved(frameMargins(m_window)));
}

void ToolWindowPlacer::remember() const {
    const QRect place = m_window.isMaximized() || m_window.isFullScreen()
                            ? m_window.normalGeometry()
                            : m_window.geometry();
    if (place.isValid())
        QSettings().setValue(m_key, place);
}

bool ToolWindowPlacer::eventFilter(QObject *watched, QEvent *event) {
    if (watched != &m_window)
        return false;
    if (event->type() == QEvent::Show) {
        m_shown = true;
        // A window with a parent widget is made transient for the parent's window, which
        // then can never come in front of it.
        if (QWindow *handle = m_window.windowHandle())
            handle->setTransientParent(nullptr);
        // The frame is known only once the window manager has framed the window.
        QTimer::singleShot(0, this, &ToolWindowPlacer::keepFrameOnScreen);
    } else if (event->type() == QEvent::Hide && m_shown) {
        // Closed by the user, or hidden as the program ends.
        remember();
    }
    return false;
}

} // namespace app
