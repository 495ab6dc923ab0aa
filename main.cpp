#include "app/mainwindow.h"
#include "link/loggingserialport.h"
#include "link/trafficlog.h"
#include "platform/qt/hostsysteminfo.h"
#include "platform/qt/qtdevicewatcher.h"
#include "platform/qt/qtdialogs.h"
#include "platform/qt/qteventloop.h"
#include "platform/qt/qtportcatalog.h"
#include "platform/qt/qtscheduler.h"
#include "platform/qt/qtserialport.h"
#include "platform/qt/steadyclock.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <cstdio>

void initAppResources();

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("RemletManager")); // where settings live
    QApplication::setApplicationName(QStringLiteral("RemletManager"));
    QApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION_TEXT));
    QApplication::setDesktopFileName(QStringLiteral("remletmanager"));
    // One database file may be named, as a file manager does through the desktop entry.
    QCommandLineParser arguments;
    arguments.setApplicationDescription(
        QStringLiteral("Keeps the key-fob users of receivers and tags and programs them."));
    arguments.addHelpOption();
    arguments.addVersionOption();
    arguments.addPositionalArgument(QStringLiteral("file"),
                                    QStringLiteral("A database file (*.fxd) to open."),
                                    QStringLiteral("[file]"));
    arguments.process(application);
    const QStringList files = arguments.positionalArguments();
    if (files.size() > 1) {
        std::fputs(qPrintable(QStringLiteral("%1: one database file at a time\n")
                                  .arg(QApplication::applicationName())),
                   stderr);
        return 2;
    }
    // Every window carries the icon, the message boxes shown before the main window included.
    initAppResources();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/remletmanager.svg")));

    platform::QtSerialPort serial;
    // Every character over the line is kept for the Programmer Log, from start-up on.
    proglink::TrafficLog trafficLog;
    proglink::LoggingSerialPort port(serial, trafficLog);
    platform::QtPortCatalog portCatalog(serial);
    platform::QtDeviceWatcher deviceWatcher;
    platform::QtScheduler scheduler;
    platform::SteadyClock clock;
    platform::QtEventLoop loop;
    platform::QtDialogs dialogs;
    platform::QtFileDialog fileDialog;
    platform::HostSystemInfo systemInfo;
    platform::QtDocumentDialogs documents;

    app::MainWindow window({port, clock, loop, dialogs, fileDialog, systemInfo, documents,
                            trafficLog, portCatalog, deviceWatcher, scheduler});
    documents.setParent(&window);
    // Discovery, and the memory-size messages when the programmer answers, come before the
    // window is first shown.
    window.startUp();
    window.show();
    if (!files.isEmpty())
        window.openFile(files.first()); // a file that fails to load says why
    return QApplication::exec();
}
