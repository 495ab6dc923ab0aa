#include "app/enrol/enrolwindow.h"

#include "app/enrol/enrolmentrows.h"
#include "ui_enrolwindow.h"
#include "userdb/enrolment.h"
#include "userdb/opendatabase.h"

#include <QCloseEvent>
#include <QShortcut>

namespace app {

namespace {

void setTextAndName(QLabel &label, const QString &text) {
    label.setText(text);
    // A screen reader reads the name: it says what the label says now.
    label.setAccessibleName(text);
}

} // namespace

EnrolWindow::EnrolWindow(userdb::OpenDatabase &database, int slotCount,
                         const platform::Clock &clock, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_ui(std::make_unique<Ui::EnrolWindow>())
    , m_enrolment(new userdb::Enrolment(database, slotCount, clock, this))
    , m_rows(new EnrolmentRows(this)) {
    m_ui->setupUi(this);
    m_ui->lblIntro->setText(QStringLiteral("Present each new fob to the programmer. It goes into "
                                           "the next free slot of slots 1 to %1.")
                                .arg(slotCount));
    m_ui->lstRows->setModel(m_rows);
    m_ui->lblMessage->hide();
    m_ui->cmdUndoLast->setEnabled(false);
    showCount();
    connect(m_ui->cmdUndoLast, &QPushButton::clicked, this, &EnrolWindow::undoLast);
    connect(m_ui->cmdStop, &QPushButton::clicked, this, &EnrolWindow::requestStop);
    // After the enrolment's own handler: records replaced or reordered leave nothing to undo.
    connect(&database, &userdb::OpenDatabase::recordsChanged, this, &EnrolWindow::showCount);
    // Escape stops and closes, from whichever control has the focus.
    connect(new QShortcut(QKeySequence::Cancel, this), &QShortcut::activated, this,
            &QWidget::close);
    m_ui->lstRows->setFocus();
}

EnrolWindow::~EnrolWindow() = default;

void EnrolWindow::addCaptureLine(const QString &line) {
    if (!m_listening)
        return;
    const std::optional<userdb::EnrolmentResult> result = m_enrolment->takeLine(line);
    if (!result)
        return;
    addRow(result->serial, result->text());
    if (result->kind == userdb::EnrolmentResult::Enrolled) {
        showCount();
        emit slotChanged(result->slot);
    } else if (result->kind == userdb::EnrolmentResult::NoFreeSlot) {
        requestStop();
    }
}

void EnrolWindow::undoLast() {
    const std::optional<userdb::UndoneEnrolment> undone = m_enrolment->undoLast();
    if (!undone)
        return;
    addRow(undone->serial, undone->text());
    showCount();
    if (!undone->changedSince)
        emit slotChanged(undone->slot);
}

void EnrolWindow::addRow(const QString &serial, const QString &outcome) {
    const QModelIndex index = m_rows->append({QTime::currentTime(), serial, outcome});
    // The current item is what a screen reader reads out.
    m_ui->lstRows->setCurrentIndex(index);
    m_ui->lstRows->scrollTo(index);
}

void EnrolWindow::showCount() {
    setTextAndName(*m_ui->lblCount, userdb::enrolledCountText(m_enrolment->enrolledCount()));
    m_ui->cmdUndoLast->setEnabled(m_enrolment->canUndo());
}

void EnrolWindow::requestStop() {
    if (!m_listening)
        return;
    stopListening(QStringLiteral("Stopped: the programmer's receiver is switched off."));
    emit stopRequested();
}

void EnrolWindow::captureStopped() {
    if (m_listening) // ended from elsewhere (Disable Internal Receiver)
        stopListening(QStringLiteral("Stopped: the programmer's receiver is switched off."));
}

void EnrolWindow::captureLost() {
    if (!m_listening)
        return;
    const QString message =
        QStringLiteral("The programmer went away: capture stopped. What was enrolled stays.");
    stopListening(message);
    addRow(QString(), message);
}

void EnrolWindow::stopListening(const QString &message) {
    m_listening = false;
    m_ui->cmdStop->setEnabled(false);
    setTextAndName(*m_ui->lblMessage, message);
    m_ui->lblMessage->show();
}

void EnrolWindow::closeEvent(QCloseEvent *event) {
    requestStop();
    event->accept();
}

} // namespace app
