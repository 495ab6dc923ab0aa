// How the window fits the screen: its size and place, the panels it reveals, and the bulk
// frame beyond the main column's right edge. The rule throughout: the window's frame, title
// bar included, stays within the screen's free area; where the screen is too small for what
// the window holds, the screen wins and the main column scrolls.
#include "app/mainwindow.h"
#include "app/toolwindows/toolwindowplacement.h"
#include "ui_mainwindow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QStyle>
#include <QTimer>
#include <functional>

namespace app {

namespace {

// The main column never gets narrower than this while the screen has room; the bulk frame
// lies beyond its right edge.
constexpr int MainColumnWidth = 780;
// The window's client rectangle when it last closed, its frame (which tells how large the
// window manager's frame is) and whether it was maximized.
const QString PlaceKey = QStringLiteral("mainWindow/place");
const QString FrameKey = QStringLiteral("mainWindow/frame");
const QString MaximizedKey = QStringLiteral("mainWindow/maximized");

// The window manager's frame round `window`: the one it drew, once it has framed the window;
// before that, the style's idea of a title bar and border, so that the first size already
// leaves room for them.
QMargins marginsBetween(const QRect &frame, const QRect &client) {
    return {client.left() - frame.left(), client.top() - frame.top(),
            frame.right() - client.right(), frame.bottom() - client.bottom()};
}

QMargins frameMargins(const QWidget &window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    if (frame != client)
        return marginsBetween(frame, client);
    const QStyle *style = window.style();
    const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &window);
    const int titleBar = style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    return {border, border + titleBar, border, border};
}

// The menu bar's width with every menu shown (a programmer found, a database open): the
// widest it gets.
int widestMenuBar(QMenuBar &bar) {
    QList<QAction *> hidden;
    for (QAction *menu : bar.actions())
        if (!menu->isVisible()) {
            hidden.append(menu);
            menu->setVisible(true);
        }
    const int width = bar.sizeHint().width();
    for (QAction *menu : std::as_const(hidden))
        menu->setVisible(false);
    return width;
}

// Runs `framed` once the window manager has framed a window just shown (its frame known),
// or after a second for a window that never gets a frame. The frame comes some time after
// the show, with the window manager's next move, resize or activation of the window.
class FrameWatcher : public QObject {
public:
    FrameWatcher(QWidget &window, std::function<void()> framed)
        : QObject(&window)
        , m_window(window)
        , m_framed(std::move(framed)) {
        window.installEventFilter(this);
        QTimer::singleShot(0, this, [this] { finishWhenFramed(); });
        QTimer::singleShot(1000, this, [this] { finish(); });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowActivate:
        case QEvent::Paint:
            finishWhenFramed();
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void finishWhenFramed() {
        if (m_window.frameGeometry() != m_window.geometry())
            finish();
    }
    void finish() {
        if (m_done)
            return;
        m_done = true;
        m_window.removeEventFilter(this);
        // Outside the event that told: the window is moved and resized from here.
        QTimer::singleShot(0, &m_window, m_framed);
        deleteLater();
    }

    QWidget &m_window;
    std::function<void()> m_framed;
    bool m_done = false;
};

} // namespace

QSize MainWindow::roomOnScreen() const {
    const QScreen *screen = this->screen();
    if (!screen)
        return {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    return screen->availableGeometry().size().shrunkBy(frameMargins(*this));
}

void MainWindow::fitToScreen() {
    // Measured as when a database is open, the editor shown.
    const bool editorHidden = ui->fraTXUsers->isHidden();
    ui->fraTXUsers->show();
    const QSize column = ui->mainColumn->sizeHint();
    ui->fraTXUsers->setHidden(editorHidden);
    const QSize room = roomOnScreen();
    // The client area ends where the main column ends (the bulk frame lies beyond it and
    // comes into view only when the window is wide enough for all of it). A screen narrower
    // than the column wins: the column scrolls sideways, as it scrolls down on a low screen,
    // rather than squeezing its boxes.
    const int scrollBar = ui->mainColumnArea->verticalScrollBar()->sizeHint().width();
    const int columnWidth =
        std::min(std::max(MainColumnWidth, column.width()) + scrollBar, room.width());
    ui->mainColumnArea->setFixedWidth(columnWidth);
    centralWidget()->setMinimumWidth(columnWidth);
    // Wide enough for every menu, so that none hides behind the menu bar's overflow button.
    const int width = std::min(std::max(columnWidth, widestMenuBar(*ui->menuBar)), room.width());
    const int chrome = ui->menuBar->sizeHint().height() + ui->Toolbar1->sizeHint().height() +
                       ui->StatusBar1->sizeHint().height();
    resize(width, std::min(column.height() + chrome, room.height()));
}

void MainWindow::resizeWithinScreen(const QSize &wanted) {
    const QScreen *screen = this->screen();
    if (!screen) {
        resize(wanted);
        return;
    }
    const QRect available = screen->availableGeometry();
    const QMargins margins = frameMargins(*this);
    const QSize size = wanted.boundedTo(available.size().shrunkBy(margins));
    const QRect frame =
        fitIntoScreen(QRect(frameGeometry().topLeft(), size.grownBy(margins)), available);
    resize(size);
    if (frame.topLeft() != frameGeometry().topLeft())
        move(frame.topLeft());
}

void MainWindow::revealPanel(QWidget *panel) {
    panel->show();
    const int chrome = height() - ui->mainColumnArea->viewport()->height();
    const int wanted = ui->mainColumn->sizeHint().height() + chrome;
    if (wanted > height())
        resizeWithinScreen(QSize(width(), wanted));
    // The column lays the panel out now, so that it is scrolled to where it really is.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    ui->mainColumnArea->ensureWidgetVisible(panel);
    panel->setFocus(Qt::OtherFocusReason);
}

void MainWindow::keepFrameOnScreen() {
    const QScreen *screen = this->screen();
    if (!screen || !isVisible() || isMaximized() || isFullScreen())
        return;
    // Now that the frame is known, the screen wins over the column's width too.
    const int roomWidth = roomOnScreen().width();
    if (ui->mainColumnArea->width() > roomWidth) {
        ui->mainColumnArea->setFixedWidth(roomWidth);
        centralWidget()->setMinimumWidth(roomWidth);
    }
    if (!screen->availableGeometry().contains(frameGeometry()))
        resizeWithinScreen(size());
}

void MainWindow::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    if (m_frameWatched)
        return;
    m_frameWatched = true;
    // The size was chosen with a guessed frame; the real one may be taller.
    new FrameWatcher(*this, [this] { keepFrameOnScreen(); });
}

void MainWindow::restorePlace() {
    QSettings settings;
    const QRect remembered = settings.value(PlaceKey).toRect();
    if (remembered.isValid())
        if (QScreen *screen = QGuiApplication::screenAt(remembered.center()))
            setScreen(screen);
    fitToScreen();
    const QScreen *screen = this->screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    if (!remembered.isValid()) {
        // The window manager places a new window; only one off its screen is moved onto it.
        if (!available.contains(frameGeometry()))
            resizeWithinScreen(size());
        return;
    }
    // Where the user left it, never smaller than the fit (the whole column and menu bar: the
    // scale or font may have grown since) and on the screen: a screen that is smaller now, or
    // a monitor that has gone, moves it. The frame
    // is taken as large as it was then: the same window manager, most likely.
    const QRect frame = settings.value(FrameKey).toRect();
    const QMargins margins =
        frame.contains(remembered) ? marginsBetween(frame, remembered) : frameMargins(*this);
    QRect client = remembered;
    client.setSize(remembered.size().expandedTo(size()));
    setGeometry(fitIntoScreen(client.marginsAdded(margins), available).marginsRemoved(margins));
    if (settings.value(MaximizedKey, false).toBool())
        setWindowState(windowState() | Qt::WindowMaximized);
}

void MainWindow::rememberPlace() const {
    if (!isVisible())
        return;
    QSettings settings;
    const bool normal = !isMaximized() && !isFullScreen();
    settings.setValue(PlaceKey, normal ? geometry() : normalGeometry());
    if (normal)
        settings.setValue(FrameKey, frameGeometry());
    settings.setValue(MaximizedKey, isMaximized());
}

void MainWindow::resizeEvent(QResizeEvent *event) {
    QMainWindow::resizeEvent(event);
    placeBulkFrame();
}

void MainWindow::placeBulkFrame() {
    const int width = ui->mainColumnArea->width();
    ui->mainColumnArea->setGeometry(0, 0, width, centralWidget()->height());
    ui->fraBulk->adjustSize();
    ui->fraBulk->move(width + BulkFrameGap, BulkFrameGap);
    // Shown only while the window shows all of it: a control beyond the edge must not take
    // the keyboard unseen.
    ui->fraBulk->setVisible(centralWidget()->rect().contains(ui->fraBulk->geometry()));
}

} // namespace app
