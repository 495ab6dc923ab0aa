#pragma once

#include "app/mainwindow.h"
#include "platform/fakes/fakedialogs.h"
#include "platform/fakes/fakeserialport.h"
#include "platform/fakes/faketimeline.h"
#include "platform/systeminfo.h"
#include "sim/inprocessprogrammer.h"

#include <QAction>
#include <QSet>
#include <memory>

Q_DECLARE_METATYPE(app::Command)

// A system-information host without a registry, recording what it was asked to start.
class FakeSystemInfo : public platform::SystemInfoHost {
public:
    QHash<QString, QString> values; // "key|value" -> text
    QSet<QString> files;
    QStringList started;

    bool getKeyValue(std::uint32_t, const QString &keyName, const QString &subKeyRef,
                     QString &keyVal) override {
        keyVal = values.value(keyName + QLatin1Char('|') + subKeyRef);
        return values.contains(keyName + QLatin1Char('|') + subKeyRef);
    }
    bool fileExists(const QString &path) override { return files.contains(path); }
    bool startProgram(const QString &path) override {
        started.append(path);
        return true;
    }
};

// The main window on fakes: a port table, the simulated programmer in-process, the fake
// clock, boxes recorded instead of shown.
struct AppHarness {
    platform::FakeTimeline timeline;
    platform::FakeSerialPort port;
    platform::FakeDialogs dialogs;
    platform::FakeFileDialog files;
    FakeSystemInfo systemInfo;
    platform::FakeDocumentDialogs documents;
    sim::InProcessProgrammer programmer;
    std::unique_ptr<app::MainWindow> window;

    // programmerPort 0: no programmer anywhere.
    explicit AppHarness(int programmerPort = 1, sim::ProgrammerOptions options = {})
        : programmer(timeline, options) {
        if (programmerPort > 0) {
            port.addPort(programmerPort, &programmer);
            programmer.setHangUpHandler([this] { port.hangUp(); });
        }
        window = std::make_unique<app::MainWindow>(
            app::Services{port, timeline, timeline, dialogs, files, systemInfo, documents});
    }

    app::MainWindow &w() { return *window; }

    // A control of the window by its object name, as the window's designer named it.
    template <typename T = QWidget> T *child(const char *name) const {
        T *found = window->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("No control named %s", name);
        return found;
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
    QList<QByteArray> commandsSent() const {
        QList<QByteArray> commands;
        QByteArray line;
        for (const QByteArray &write : port.writes()) {
            line += write;
            if (line.endsWith('\r')) {
                commands.append(line.chopped(1));
                line.clear();
            }
        }
        return commands;
    }
};

inline QList<int> positions(std::initializer_list<std::pair<int, int>> ranges) {
    QList<int> result;
    for (const auto &[first, last] : ranges)
        for (int p = first; p <= last; ++p)
            result.append(p);
    return result;
}
