// Paints the main window as a person sees it after start-up with the programmer connected
// and a database open, into the PNG named on the command line (the README's screenshot).
// With --dark it paints the window on a dark palette, to check that everything stays legible.
#include "app/editor/fieldinput.h"
#include "app/mainwindow.h"
#include "link/trafficlog.h"
#include "platform/fakes/fakedevicewatcher.h"
#include "platform/fakes/fakedialogs.h"
#include "platform/fakes/fakeportcatalog.h"
#include "platform/fakes/fakeserialport.h"
#include "platform/fakes/faketimeline.h"
#include "platform/qt/hostsysteminfo.h"
#include "sim/inprocessprogrammer.h"

#include <QApplication>
#include <QPalette>
#include <QScrollBar>

namespace {

// The fake port named as on the Linux desktop the picture shows, where the programmer sits on
// a USB serial adapter.
class UsbAdapterPort : public platform::FakeSerialPort {
public:
    QString portName(int number) override {
        return FakeSerialPort::portName(number).isEmpty()
                   ? QString()
                   : QStringLiteral("/dev/ttyUSB%1").arg(number - 1);
    }
};

} // namespace

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    if (argc < 2)
        return 2;
    if (argc > 2 && QByteArray(argv[2]) == "--dark") {
        QApplication::setStyle(QStringLiteral("Fusion"));
        QPalette dark;
        dark.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
        dark.setColor(QPalette::WindowText, Qt::white);
        dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
        dark.setColor(QPalette::AlternateBase, QColor(0x35, 0x35, 0x35));
        dark.setColor(QPalette::Text, Qt::white);
        dark.setColor(QPalette::Button, QColor(0x38, 0x38, 0x38));
        dark.setColor(QPalette::ButtonText, Qt::white);
        dark.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
        dark.setColor(QPalette::HighlightedText, Qt::white);
        QApplication::setPalette(dark);
    }
    // The simulated programmer in-process on port 1, the fake clock, boxes recorded unseen.
    platform::FakeTimeline timeline;
    UsbAdapterPort port;
    platform::FakeDialogs dialogs;
    platform::FakeFileDialog files;
    platform::HostSystemInfo systemInfo;
    platform::FakeDocumentDialogs documents;
    proglink::TrafficLog trafficLog;
    platform::FakePortCatalog portCatalog;
    platform::FakeDeviceWatcher deviceWatcher;
    sim::InProcessProgrammer programmer(timeline, {});
    port.addPort(1, &programmer);
    app::MainWindow window(app::Services{port, timeline, timeline, dialogs, files, systemInfo,
                                         documents, trafficLog, portCatalog, deviceWatcher,
                                         timeline});
    window.startUp();
    window.runCommand(app::Command::NewDatabase);
    const QStringList surnames{"Nguyen", "Papadopoulos", "Smith", "O'Connor", "Rossi"};
    for (int slot = 1; slot <= surnames.size(); ++slot) {
        userdb::OpenDatabase &store = window.database();
        store.setCell(slot, userdb::SerialNumber,
                      QStringLiteral("%1").arg(0x3F2A10 + slot, 8, 16, QLatin1Char('0')).toUpper());
        store.setCell(slot, userdb::Surname, surnames.at(slot - 1));
    }
    window.database().setCell(1, userdb::OtherNames, QStringLiteral("Linh"));
    window.database().setCell(1, userdb::Address1, QStringLiteral("12 Harbour Street"));
    window.database().setCell(1, userdb::Suburb, QStringLiteral("Carlton"));
    window.database().setCell(1, userdb::State, QStringLiteral("VIC"));
    window.database().setCell(1, userdb::PostCode, QStringLiteral("3053"));
    window.database().setCell(1, userdb::Mobile, QStringLiteral("0400 123 456"));
    window.findChild<app::AddressEdit *>("txtDatabaseAddress")
        ->setAddressText(QStringLiteral("Harbour View Apartments\nCar park gates"));
    // The editor shows the slot it moves to.
    window.findChild<QScrollBar *>("hscSlot")->setValue(2);
    window.findChild<QScrollBar *>("hscSlot")->setValue(1);
    window.show();
    QApplication::processEvents();
    return window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
