#pragma once
// The main window on fakes: a port table, the simulated programmer in-process, the fake clock,
// boxes recorded instead of shown.
#include "app/mainwindow.h"
#include "link/loggingserialport.h"
#include "link/trafficlog.h"
#include "platform/fakes/fakedevicewatcher.h"
#include "platform/fakes/fakedialogs.h"
#include "platform/fakes/fakeportcatalog.h"
#include "platform/fakes/fakeserialport.h"
#include "platform/fakes/fakesysteminfo.h"
#include "platform/fakes/faketimeline.h"
#include "sim/inprocessprogrammer.h"

#include <QTemporaryDir>
#include <QtTest>
#include <QtWidgets>
#include <memory>

Q_DECLARE_METATYPE(app::Command)
struct AppHarness;
using Action = std::function<void(AppHarness &)>; // what the user does, as a table's column
Q_DECLARE_METATYPE(Action)

struct AppHarness {
    platform::FakeTimeline timeline;
    platform::FakeSerialPort port;
    platform::FakeDialogs dialogs;
    platform::FakeFileDialog files;
    platform::FakeSystemInfo systemInfo;
    platform::FakeDocumentDialogs documents;
    proglink::TrafficLog trafficLog;
    platform::FakePortCatalog portCatalog;
    platform::FakeDeviceWatcher deviceWatcher;
    sim::InProcessProgrammer programmer;
    proglink::LoggingSerialPort logged{port, trafficLog}; // the port as the window sees it
    std::unique_ptr<app::MainWindow> window;

    // programmerPort 0: no programmer anywhere.
    explicit AppHarness(int programmerPort = 1, sim::ProgrammerOptions options = {})
        : programmer(timeline, std::move(options)) {
        if (programmerPort > 0) {
            port.addPort(programmerPort, &programmer);
            programmer.setHangUpHandler([this] { port.hangUp(); });
        }
        window = std::make_unique<app::MainWindow>(
            app::Services{logged, timeline, timeline, dialogs, files, systemInfo, documents,
                          trafficLog, portCatalog, deviceWatcher, timeline});
    }

    // On another serial line, clock and event loop: the real ones.
    AppHarness(platform::SerialPort &line, platform::Clock &clock, platform::EventLoop &loop)
        : programmer(timeline) {
        window = std::make_unique<app::MainWindow>(
            app::Services{line, clock, loop, dialogs, files, systemInfo, documents, trafficLog,
                          portCatalog, deviceWatcher, timeline});
    }

    app::MainWindow &w() { return *window; }

    void startWithDatabase() {
        window->startUp();
        window->runCommand(app::Command::NewDatabase);
    }

    // Load Database with `path` chosen in its dialog.
    void load(const QString &path) { runWithFile(app::Command::LoadDatabase, path); }
    // A command whose file dialog is answered (none: cancelled).
    void runWithFile(app::Command command, const std::optional<QString> &path) {
        files.queueAnswer(path);
        window->runCommand(command);
    }
    // A command whose document dialog (a spreadsheet, a PDF) is answered with `path`.
    void runWithDocument(app::Command command, const QString &path) {
        documents.queueAnswer(path);
        window->runCommand(command);
    }
    // A command whose question about unsaved changes (or text a file cannot hold) is answered.
    void runAnswering(app::Command command, platform::Answer answer) {
        dialogs.queueAnswer(answer);
        window->runCommand(command);
    }

    // The title as the window shows it: "[*]" becomes "*" while changes are unsaved.
    QString shownTitle() const {
        QString title = window->windowTitle();
        return title.replace(QStringLiteral("[*]"),
                             window->isWindowModified() ? QStringLiteral("*") : QString());
    }

    // The toolbar button whose key is `key` (letter case ignored) clicked; none for no such key.
    void clickToolbar(const QString &key) {
        for (int position = 1; position <= 31; ++position)
            if (QAction *button = window->toolbarPosition(position);
                button->objectName().compare(key, Qt::CaseInsensitive) == 0)
                button->trigger();
    }

    // A control of the window by its object name, as the window's designer named it.
    template <typename T = QWidget> T *child(const QString &name) const {
        T *found = window->findChild<T *>(name);
        if (!found)
            qFatal("No control named %s", qPrintable(name));
        return found;
    }

    // A new database in the window, shown with the focus in it.
    void showNewDatabase() {
        window->runCommand(app::Command::NewDatabase);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    QList<int> visibleToolbarPositions() const {
        QList<int> visible;
        for (int position = 1; position <= 31; ++position)
            if (window->toolbarPosition(position)->isVisible())
                visible.append(position);
        return visible;
    }

    // The menus that come and go (File with New and Load, Find ZEPRO and About never do).
    QStringList visibleMenus() const {
        QStringList visible;
        for (const char *name :
             {"mnuSaveDatabase", "mnuSaveDatabaseAs", "mnuCloseDatabase", "mnuSortDatabase",
              "mnuMergeDatabase", "mnuRead", "mnuProgram", "mnuCopy", "mnuClear", "mnuRX"})
            if (window->isMenuVisible(QLatin1String(name)))
                visible.append(QLatin1String(name));
        return visible;
    }

    // Commands the programmer received, without their CR.
    QList<QByteArray> commandsSent() const { return programmer.model().commands(); }
};

// The window started up: the programmer (if any) found and told the sizes.
struct StartedApp : AppHarness {
    explicit StartedApp(int programmerPort = 1, sim::ProgrammerOptions options = {})
        : AppHarness(programmerPort, std::move(options)) {
        window->startUp();
    }
};

// A test object that works in a folder of its own, the current folder while its cases run.
class InOwnFolder : public QObject {
protected:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }
    InOwnFolder() {
        if (!QDir::setCurrent(m_dir.path()))
            qFatal("Cannot work in %s", qPrintable(m_dir.path()));
    }
};

// What a screen reader reads as a control's name.
inline QString readerName(QWidget *widget) {
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

// Commands run one after the other, and a button clicked, as a table's action.
inline Action run(std::initializer_list<app::Command> commands) {
    const QList<app::Command> list(commands);
    return [list](AppHarness &h) {
        for (const app::Command command : list)
            h.w().runCommand(command);
    };
}
inline Action click(const char *name) {
    return [=](AppHarness &h) { h.child<QAbstractButton>(name)->click(); };
}

// A database file's line for a slot holding a serial number and a surname, the rest empty.
inline QByteArray slotLine(const QByteArray &serial, const QByteArray &surname = {}) {
    return "\"" + serial + "\",\"\",\"" + surname + "\"" + QByteArray(",\"\"").repeated(10) +
           "\r\n";
}

inline QList<int> positions(std::initializer_list<std::pair<int, int>> ranges) {
    QList<int> result;
    for (const auto &[first, last] : ranges)
        for (int p = first; p <= last; ++p)
            result.append(p);
    return result;
}
