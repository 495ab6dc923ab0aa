#pragma once

#include <QWidget>
#include <memory>

namespace platform {
class Clock;
}
namespace userdb {
class Enrolment;
class OpenDatabase;
} // namespace userdb
namespace Ui {
class EnrolWindow;
}

namespace app {

class EnrolmentRows;

// The "Enrol Fobs" window: each fob presented to the programmer's receiver goes into the next
// free slot of the open database, and a row says what became of it. The window does not run
// capture mode: its owner feeds it the lines that capture mode shows (addCaptureLine), ends
// capture mode when asked (stopRequested) and says when capture mode has ended by itself
// (captureLost). One window per enrolment; it takes lines from its creation until it asks to
// stop or is told that capture has ended.
// Keyboard: Tab goes rows, Undo Last, Stop; Escape stops and closes.
class EnrolWindow : public QWidget {
    Q_OBJECT
public:
    // Fills slots 1 to `slotCount` (the receiver's size) of `database`; `clock` times the
    // repeats of a fob held on the reader. Both must outlive the window. With a parent, it is
    // still a window of its own, closed with its parent.
    EnrolWindow(userdb::OpenDatabase &database, int slotCount, const platform::Clock &clock,
                QWidget *parent = nullptr);
    ~EnrolWindow() override;

    const EnrolmentRows &rows() const { return *m_rows; }
    const userdb::Enrolment &enrolment() const { return *m_enrolment; }
    // Whether it still takes capture lines.
    bool isListening() const { return m_listening; }

public slots:
    // A line that capture mode showed (any text: lines without a fob serial are ignored).
    void addCaptureLine(const QString &line);
    // Capture mode has ended after the stop it asked for.
    void captureStopped();
    // Capture mode ended by itself (the programmer went away, or its port could not be used):
    // what was enrolled stays.
    void captureLost();

signals:
    // Stop, Escape, closing the window, or no free slot left: capture mode is to end (as
    // Disable Internal Receiver ends it). Emitted once.
    void stopRequested();
    // An enrolment or an undo changed the serial of `slot`.
    void slotChanged(int slot);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void addRow(const QString &serial, const QString &outcome);
    void undoLast();
    void requestStop();
    void stopListening(const QString &message);
    void showCount();

    std::unique_ptr<Ui::EnrolWindow> m_ui;
    userdb::Enrolment *m_enrolment;
    EnrolmentRows *m_rows;
    bool m_listening = true;
};

} // namespace app
