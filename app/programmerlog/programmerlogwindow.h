#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class ProgrammerLogWindow;
}

namespace platform {
class Dialogs;
class DocumentDialogs;
} // namespace platform

namespace proglink {
class TrafficLog;
}

namespace app {

class TrafficLogModel;

// The Programmer Log window: every line that went over the serial line since start-up, shown
// as it comes, with "Save Log..." (a text file) and "Clear". Non-modal, a window of its own;
// Escape or Close hides it. The log records whether the window is open or not.
class ProgrammerLogWindow : public QWidget {
    Q_OBJECT
public:
    ProgrammerLogWindow(proglink::TrafficLog &log, platform::DocumentDialogs &documents,
                        platform::Dialogs &dialogs, QWidget *parent = nullptr);
    ~ProgrammerLogWindow() override;

    // Shows and raises the window, at the newest row.
    void open();
    // Asks where, writes the log there as text; a failure is told in a box.
    void saveLog();

private:
    void followNewRows();

    std::unique_ptr<Ui::ProgrammerLogWindow> ui;
    proglink::TrafficLog &m_log;
    platform::DocumentDialogs &m_documents;
    platform::Dialogs &m_dialogs;
    TrafficLogModel *m_model;
    bool m_atEnd = true; // the view showed the newest row before the latest change
};

} // namespace app
