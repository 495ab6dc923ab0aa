// What the state table and the programmer commands change in the window: toolbar positions,
// menus, frames, the title, the status panels, the reply label and the progress bar.
#include "app/mainwindow.h"

#include "app/statuspanel.h"
#include "ui_mainwindow.h"
#include "userdb/capturedserial.h"

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
    setWindowTitle(BaseTitle + QStringLiteral(" - ") + fileName);
}

bool MainWindow::isDatabaseOpen() const {
    return isMenuVisible(QStringLiteral("mnuSaveDatabase"));
}

void MainWindow::setStatusText(const QString &text) {
    m_panels[0]->setLastingText(text); // news from the running command replaces a notice
}

void MainWindow::setPortText(const QString &text) {
    m_panels[1]->setLastingText(text);
}

QString MainWindow::statusText() const {
    return m_panels[0]->text();
}

void MainWindow::setReplyText(const QString &text) {
    ui->lblEnableRX->setText(text);
    // A fob that capture mode shows may be put into the slot editor (Tools menu).
    if (!m_capture.isRunning())
        return;
    if (const QString serial = userdb::capturedSerial(text); !serial.isEmpty()) {
        m_capturedSerial = serial;
        updateToolStates();
    }
}

void MainWindow::showProgress(int minimum, int maximum) {
    ui->prbDownload->setRange(minimum, maximum);
    ui->prbDownload->setValue(minimum);
    ui->prbDownload->show();
}

void MainWindow::setProgress(int value) {
    ui->prbDownload->setValue(value);
}

void MainWindow::hideProgress() {
    ui->prbDownload->hide();
}

void MainWindow::showSerialBeingWritten(const QString &serial) {
    ui->Text1->setText(serial);
}

} // namespace app
