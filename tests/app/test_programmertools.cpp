// The Programmer Log window and the Programmer Port dialog on their own, offscreen: the log's
// rows as they come, saved and cleared; the port list from a fake catalog, and the choice
// pinned and kept.
#include "app/programmerlog/programmerlogwindow.h"
#include "app/programmerport/portlistmodel.h"
#include "app/programmerport/portsetting.h"
#include "app/programmerport/programmerportdialog.h"
#include "link/trafficlog.h"
#include "platform/fakes/fakedialogs.h"
#include "platform/fakes/fakeportcatalog.h"
#include "tests/common/testfiles.h"

#include <QAbstractItemModelTester>
#include <QtTest>
#include <QtWidgets>

using proglink::TrafficDirection;

namespace {

QStringList rowTexts(const QAbstractItemModel &model, int column) {
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.index(row, column).data().toString();
    return texts;
}

platform::PortDescription port(int number, const QString &path, bool present = true) {
    return {number, path, present, {}, {}, {}, {}, {}};
}

} // namespace

class TestProgrammerTools : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QCoreApplication::setOrganizationName("RemletManagerTest"); }

    // Rows as they come (an LF joining the row of its CR), up to the cap; Save Log... writes the
    // text, a failure is told; Clear empties the log; Close closes the window.
    void programmerLog() {
        proglink::TrafficLog log;
        platform::FakeDocumentDialogs documents;
        platform::FakeDialogs dialogs;
        app::ProgrammerLogWindow window(log, documents, dialogs);
        auto *table = window.findChild<QTableView *>("tblLog");
        const QAbstractItemModel &model = *table->model();
        auto tester = std::make_unique<QAbstractItemModelTester>(
            table->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        window.open();
        log.record(TrafficDirection::Sent, "P\r");
        log.record(TrafficDirection::Received, "ZEPRO V2.4\r");
        log.record(TrafficDirection::Received, "\n\x1b");
        log.endLines();
        QCOMPARE(rowTexts(model, 1), (QStringList{"sent", "received", "received"}));
        QCOMPARE(rowTexts(model, 2), (QStringList{"P<CR>", "ZEPRO V2.4<CR><LF>", "<0x1B>"}));
        QVERIFY(model.index(0, 0).data().toString().contains(
            QRegularExpression("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3}$")));

        tester.reset(); // it checks the whole model on every change
        for (int line = 0; line < proglink::TrafficLog::MaxRows; ++line)
            log.record(TrafficDirection::Sent, "W\r");
        QCOMPARE(model.rowCount(), proglink::TrafficLog::MaxRows);
        QCOMPARE(model.index(0, 2).data().toString(), "W<CR>");

        QTemporaryDir dir;
        documents.queueAnswer(dir.filePath("log.txt"));
        documents.queueAnswer(dir.filePath("no/such/folder/log.txt"));
        auto *save = window.findChild<QPushButton *>("cmdSave");
        save->click();
        QCOMPARE(readFile(dir.filePath("log.txt")), log.text().toUtf8());
        QVERIFY(documents.shown().first().proposedPath.endsWith("programmer-log.txt"));
        save->click();
        QCOMPARE(dialogs.messages().size(), 1);
        QCOMPARE(dialogs.messages().first().icon, platform::MessageIcon::Critical);

        window.findChild<QPushButton *>("cmdClear")->click();
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(log.size(), 0);
        window.findChild<QPushButton *>("cmdClose")->click();
        QVERIFY(!window.isVisible());
    }

    // The port list as the model shows it. A row chosen, a path typed that does not exist yet,
    // Automatic: each pinned and kept; the dialog opens on the pinned choice; REMLET_PORTS is
    // said to win.
    void portListAndDialog() {
        app::PortListModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setPorts(
            {{1, "/dev/ttyUSB0", true, "FT232R USB UART", "FTDI", "A50285BI", 0x0403, 0x6001},
             port(3, "/dev/gone", false)});
        QCOMPARE(rowTexts(model, app::PortListModel::Port),
                 (QStringList{"Automatic (scan ports 1 to 255)", "Port 1: /dev/ttyUSB0",
                              "Port 3: /dev/gone (absent)"}));
        QStringList first;
        for (int column = 1; column < app::PortListModel::ColumnCount; ++column)
            first << model.index(1, column).data().toString();
        QCOMPARE(first, (QStringList{"FT232R USB UART", "FTDI", "0403:6001", "A50285BI"}));
        QCOMPARE(model.index(2, app::PortListModel::UsbId).data().toString(), QString());
        QCOMPARE(std::tuple(model.rowOf(""), model.rowOf("/dev/gone"), model.rowOf("/dev/x")),
                 std::tuple(0, 2, -1));
        platform::FakePortCatalog catalog;
        catalog.listed = {port(1, "/dev/ttyUSB0"), port(2, "/dev/ttyS0")};
        // The path announced, pinned in the catalog and kept in the settings.
        using Act = std::function<void(app::ProgrammerPortDialog &)>;
        const auto choose = [&](const QString &expected, const Act &act) {
            app::ProgrammerPortDialog dialog(catalog);
            QSignalSpy chosen(&dialog, &app::ProgrammerPortDialog::portChosen);
            act(dialog);
            dialog.accept();
            QCOMPARE((QStringList{chosen.size() == 1 ? chosen.first().first().toString() : "none",
                                  catalog.pinnedPath(), app::savedPinnedPort()}),
                     QStringList(3, expected));
        };
        const auto table = [](QDialog &d) { return d.findChild<QTableView *>("tblPorts"); };
        const auto path = [](QDialog &d) { return d.findChild<QLineEdit *>("txtDevicePath"); };

        choose("/dev/ttyS0", [&](app::ProgrammerPortDialog &dialog) {
            QVERIFY(dialog.findChild<QLabel *>("lblEnvironment")->isHidden());
            table(dialog)->setCurrentIndex(table(dialog)->model()->index(2, 0));
        });

        choose("/tmp/zepro-later", [&](app::ProgrammerPortDialog &dialog) {
            QCOMPARE(table(dialog)->currentIndex().row(), 2); // the pinned port
            QTest::keyClicks(path(dialog), "/tmp/zepro-later");
            path(dialog)->clear();
            QTest::keyClicks(path(dialog), "/tmp/zepro-later");
            QVERIFY(!table(dialog)->selectionModel()->hasSelection());
            const QString note = dialog.findChild<QLabel *>("lblPathNote")->text();
            QVERIFY(note.contains("/tmp/zepro-later does not exist now"));
        });
        QCOMPARE(app::pathsToWatch(catalog), QStringList{"/tmp/zepro-later"});

        catalog.environment = "/dev/ttyUSB0::/tmp/zepro";
        choose("", [&](app::ProgrammerPortDialog &dialog) {
            auto *note = dialog.findChild<QLabel *>("lblEnvironment");
            QVERIFY(!note->isHidden() && note->text().startsWith("REMLET_PORTS is set"));
            table(dialog)->setCurrentIndex(table(dialog)->model()->index(0, 0));
        });
        QCOMPARE(app::pathsToWatch(catalog), (QStringList{"/dev/ttyUSB0", "/tmp/zepro"}));
        catalog.environment.clear();
        QCOMPARE(app::pathsToWatch(catalog), QStringList());
    }
};

QTEST_MAIN(TestProgrammerTools)
#include "test_programmertools.moc"
