// What the state table changes in the window: toolbar positions, menus, frames and the title.
#include "app/mainwindow.h"

#include "app/statuspanel.h"
#include "ui_mainwindow.h"

namespace app {

void MainWindow::setToolbarPositionVisible(int position, bool visible) {
    toolbarPosition(position)->setVisible(visible);
}

void MainWindow::setMenuVisible(const QString &name, bool visible) {
    if (QAction *action = m_menus.value(name))
        action->setVisible(visible);
}

bool MainWindow::isMenuVisible(const QString &name) const {
    QAction *action = m_menus.value(name);
    return action && action->isVisible();
}

void MainWindow::setFrameVisible(const QString &name, bool visible) {
    if (name != QLatin1String("fraTXUsers"))
        return;
    const bool appears = visible && ui->fraTXUsers->isHidden();
    ui->fraTXUsers->setVisible(visible);
    // A database just opened: the keyboard goes where the typing will be.
    if (appears)
        ui->fraTXUsers->serialBox()->setFocus(Qt::OtherFocusReason);
}

void MainWindow::resetTitle() {
    setWindowTitle(BaseTitle);
}

void MainWindow::setDatabaseTitle(const QString &fileName) {
    // "[*]" is where Qt shows that the database has unsaved changes.
    setWindowTitle(BaseTitle + QStringLiteral(" - ") + fileName + QStringLiteral("[*]"));
}

bool MainWindow::isDatabaseOpen() const {
    return isMenuVisible(QStringLiteral("mnuSaveDatabase"));
}

QString MainWindow::statusText() const {
    return m_panels[0]->text();
}

} // namespace app
