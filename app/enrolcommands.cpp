// Enrolling fobs by presenting them: capture mode feeds the Enrol Fobs window, which puts each
// new serial into the next free slot.
#include "app/enrol/enrolwindow.h"
#include "app/mainwindow.h"
#include "app/programmer/programmersession.h"
#include "app/statuspanel.h"
#include "ui_mainwindow.h"

#include <QScopedValueRollback>

namespace app {

void MainWindow::mnuEnrolFobs_Click() {
    if (!isDatabaseOpen() || !m_programmer->isFound())
        return;
    if (m_programmer->isBusy()) {
        m_programmer->refuseBusy();
        return;
    }
    // One window per enrolment: the last one's rows go with it.
    delete m_enrolWindow;
    auto *window = new EnrolWindow(
        m_database, m_programmer->memorySlots(proglink::Device::Receiver), m_services.clock, this);
    m_enrolWindow = window;
    // Stop, Escape, closing it or a full database end capture mode as Disable does.
    connect(window, &EnrolWindow::stopRequested, this,
            [this] { runCommand(Command::DisableInternalReceiver); });
    // The editor follows a slot enrolled or undone, and the used-slot count with it.
    connect(window, &EnrolWindow::slotChanged, this, &MainWindow::ShowSlot);
    window->show();
    proglink::CaptureEnd end = proglink::CaptureEnd::Refused;
    {
        const QScopedValueRollback<bool> enrolling(m_enrolling, true);
        updateToolStates();
        end = m_programmer->enableCapture();
    }
    updateToolStates();
    if (m_enrolWindow != window)
        return;
    // What was enrolled stays whatever ended capture mode.
    if (end == proglink::CaptureEnd::Stopped)
        window->captureStopped();
    else
        window->captureLost();
}

void MainWindow::feedEnrolment(const QString &line) {
    if (m_enrolling && m_enrolWindow && m_enrolWindow->isListening())
        m_enrolWindow->addCaptureLine(line);
}

bool MainWindow::refuseWhileEnrolling() {
    if (!m_enrolling)
        return false;
    m_dialogs.beep();
    m_panels[0]->showNotice(QStringLiteral("Fobs are being enrolled: stop the enrolment first"));
    return true;
}

} // namespace app
