// How the window fits the screen: the main column, the panels it reveals, and the bulk frame
// beyond the column's right edge.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include <QScreen>
#include <QScrollBar>

namespace app {

namespace {
// The main column never gets narrower than this; the bulk frame lies beyond its right edge.
constexpr int MainColumnWidth = 780;
} // namespace

void MainWindow::fitToScreen() {
    // The client area ends where the main column ends; the bulk frame lies beyond it and
    // comes into view only when the user drags the window wider. The column scrolls when the
    // screen is too low for it, rather than squeezing its boxes.
    ui->fraTXUsers->show();
    const QSize column = ui->mainColumn->sizeHint();
    ui->fraTXUsers->hide();
    const int scrollBar = ui->mainColumnArea->verticalScrollBar()->sizeHint().width();
    const int width = std::max(MainColumnWidth, column.width()) + scrollBar;
    ui->mainColumnArea->setFixedWidth(width);
    centralWidget()->setMinimumWidth(width);
    const int chrome = ui->menuBar->sizeHint().height() + ui->Toolbar1->sizeHint().height() +
                       ui->StatusBar1->sizeHint().height();
    int height = column.height() + chrome;
    if (const QScreen *screen = this->screen())
        height = std::min(height, screen->availableGeometry().height());
    resize(width, height);
}

void MainWindow::revealPanel(QWidget *panel) {
    panel->show();
    const int chrome = height() - ui->mainColumnArea->viewport()->height();
    int wanted = ui->mainColumn->sizeHint().height() + chrome;
    if (const QScreen *screen = this->screen())
        wanted = std::min(wanted, screen->availableGeometry().height());
    if (wanted > height())
        resize(width(), wanted);
    ui->mainColumnArea->ensureWidgetVisible(panel);
    panel->setFocus(Qt::OtherFocusReason);
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
