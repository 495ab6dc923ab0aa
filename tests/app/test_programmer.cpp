// The window's programmer side against the simulated programmer in-process on the fake clock:
// start-up, the command-state table, the busy guard, failures that escape a command, closing,
// and what a read, a program or a comparison does to the open database; and once on the real
// serial port, clock and event loop against the zepro-sim process, exactly as with hardware.
#include "app/programmer/programmersession.h"
#include "app/programmerport/portsetting.h"
#include "appharness.h"
#include "platform/qt/qteventloop.h"
#include "platform/qt/qtserialport.h"
#include "platform/qt/steadyclock.h"
#include "sim/simulatorprocess.h"
#include "tests/common/datacolumns.h"
#include "tests/common/testfiles.h"

namespace {

const QStringList FileItems{"mnuSaveDatabase", "mnuSaveDatabaseAs", "mnuCloseDatabase",
                            "mnuSortDatabase", "mnuMergeDatabase"};
const QStringList ProgrammerItems{"mnuRead", "mnuCopy", "mnuClear", "mnuRX"};
// With a programmer and a database.
const QList<int> BothToolbar = positions({{1, 9}, {12, 13}, {15, 16}, {19, 31}});
const QStringList BothMenus =
    FileItems + QStringList{"mnuRead", "mnuProgram", "mnuCopy", "mnuClear", "mnuRX"};

} // namespace

class ProgrammerTest : public InOwnFolder {
    Q_OBJECT

private slots:
    void init() { QFile::remove("Untitled.fxd"); }

    // The port chosen in an earlier run is chosen again. A size chosen before any programmer is
    // found is sent by the search; both size messages come before the window shows; the
    // toolbar keys ignore letter case, and each reaches its own command. The traffic log holds
    // every line from start-up on, whether its window is open or not.
    void startUpFindsTheProgrammerAndSendsBothSizes() {
        app::savePinnedPort("/tmp/zepro-pinned");
        const auto unpin = qScopeGuard([] { app::savePinnedPort({}); });
        AppHarness h;
        h.child<QRadioButton>("optRX85Slot")->click();
        QVERIFY(h.commandsSent().isEmpty() && h.dialogs.messages().isEmpty());
        QList<bool> windowShownAtMessage;
        h.dialogs.onMessage = [&](const auto &) { windowShownAtMessage << h.w().isVisible(); };
        h.w().startUp();
        QCOMPARE(h.dialogs.texts(),
                 (QStringList{"Receiver memory size set", "Backup tag size set"}));
        QCOMPARE(windowShownAtMessage, (QList<bool>{false, false}));
        QCOMPARE(h.portCatalog.pinnedPath(), "/tmp/zepro-pinned");
        QCOMPARE(app::MainWindow::commandForToolbarKey("findzepro1"), app::Command::FindProgrammer);
        for (const char *key : {"FindZEPRO1", "no such key", "ClearRX1", "ClearTag2", "RXtoTag",
                                "TagtoRX", "LoadfromTag"})
            h.clickToolbar(key);
        QCOMPARE(h.commandsSent(),
                 (QList<QByteArray>{"P", "F", "G", "P", "F", "G", "K", "L", "Y", "X", "C"}));
        QVERIFY(h.child<QRadioButton>("optBurnTag")->isChecked()); // the device last read
        // Programming and comparing use the sizes chosen.
        QCOMPARE(h.w().programmer().memorySlots(proglink::Device::Receiver), 85);
        QCOMPARE(h.w().programmer().memorySlots(proglink::Device::Tag), 340);
        h.child<QRadioButton>("optRX340Slot")->click();
        QCOMPARE(h.w().programmer().memorySlots(proglink::Device::Receiver), 340);
        h.w().runCommand(app::Command::ProgrammerLog);
        auto *log = h.w().findChild<QWidget *>("ProgrammerLogWindow");
        QVERIFY(log && log->isVisible() && log->windowTitle() == "Programmer Log");
        const QAbstractItemModel *rows = log->findChild<QTableView *>()->model();
        QStringList texts;
        for (int row = 0; row < 3; ++row)
            texts << rows->index(row, rows->columnCount() - 1).data().toString();
        QCOMPARE(texts, (QStringList{"P<CR>", "ZEPRO V2.4<CR>", "F<CR>"}));
        // Closing in capture mode closes the port without switching the mode off.
        h.timeline.after(1.0, [&] { h.w().close(); });
        h.w().runCommand(app::Command::EnableInternalReceiver);
        QVERIFY(!h.port.isOpen());
        QCOMPARE(h.commandsSent().mid(11), (QList<QByteArray>{"E", "R"}));
    }

    // The command-state table as start-up, discovery and the database commands apply it.
    void commandStates_data() {
        // action: after start-up
        addColumns<bool, Action, QList<int>, QStringList>("programmer", "action", "toolbar",
                                                          "menus");
        using enum app::Command;
        const QList<int> programmerOnly = positions({{1, 2}, {12, 13}, {19, 31}});
        QTest::newRow("nothing") << false << run({}) << QList<int>{1, 2, 31} << QStringList{};
        QTest::newRow("database, no programmer")
            << false << run({NewDatabase}) << positions({{1, 9}, {15, 16}, {31, 31}})
            << FileItems + QStringList{"mnuProgram"};
        QTest::newRow("programmer") << true << run({}) << programmerOnly << ProgrammerItems;
        QTest::newRow("programmer and database")
            << true << run({NewDatabase}) << BothToolbar << BothMenus;
        QTest::newRow("database closed")
            << true << run({NewDatabase, CloseDatabase}) << programmerOnly << ProgrammerItems;
        // The port and the identification stay; the commands go.
        QTest::newRow("programmer gone at the next search") << true << Action([](AppHarness &h) {
            h.port.addPort(1);
            h.w().runCommand(FindProgrammer);
        }) << QList<int>{1, 2, 29, 30, 31} << QStringList{};
        // What needs a database stays hidden when the mode ends (a search then shows the
        // identification again).
        QTest::newRow("capture mode left, no database") << true << Action([](AppHarness &h) {
            h.timeline.after(0.1, [&h] { h.w().runCommand(DisableInternalReceiver); });
            h.w().runCommand(EnableInternalReceiver);
            h.w().runCommand(FindProgrammer);
        }) << programmerOnly << ProgrammerItems;
    }
    void commandStates() {
        QFETCH(bool, programmer);
        QFETCH(Action, action);
        StartedApp h(programmer ? 1 : 0);
        action(h);
        QTEST(h.visibleToolbarPositions(), "toolbar");
        QTEST(h.visibleMenus(), "menus");
        const bool open = h.visibleMenus().contains("mnuSaveDatabase");
        QCOMPARE(h.shownTitle(),
                 "Corvane Systems Remlet Manager" + QString(open ? " - Untitled.fxd" : ""));
        QCOMPARE(h.w().Port(), programmer ? 1 : 0);
        QCOMPARE(h.child<QLabel>("lblEnableRX")->text().startsWith("ZEPRO V"), programmer);
    }

    // Left by Disable, or by the programmer hanging up while the mode listens: either way the
    // commands come back. The records stay free meanwhile.
    void captureStatesAndBack_data() {
        addColumns<bool, QList<QByteArray>, QString>("hangUp", "sent", "status");
        QTest::newRow("Disable") << false << QList<QByteArray>{"R", "Q"} << "Communications OK";
        QTest::newRow("programmer hangs up")
            << true << QList<QByteArray>{"R"} << "Communications Error";
    }
    void captureStatesAndBack() {
        QFETCH(bool, hangUp);
        AppHarness h(1, {.hangUpAfter = hangUp ? 4 : 0}); // P, E and G at start-up, then R
        h.startWithDatabase();
        std::pair<QList<int>, QStringList> during; // the toolbar and the menus
        h.timeline.after(0.1, [&] {
            during = {h.visibleToolbarPositions(), h.visibleMenus()};
            h.w().runCommand(app::Command::NewDatabase);
            if (!hangUp)
                h.clickToolbar("DisableRX2");
        });
        h.clickToolbar("EnableRX32");
        QCOMPARE(during, std::pair(positions({{1, 8}, {28, 31}}),
                                   FileItems.first(4) + QStringList{"mnuRX"}));
        QCOMPARE(h.visibleToolbarPositions(), BothToolbar); // as before the mode
        QCOMPARE(h.visibleMenus(), BothMenus);
        QTEST(h.commandsSent().mid(3), "sent");
        QTEST(h.w().statusText(), "status");
        QCOMPARE(h.dialogs.beeps(), 0);
    }

    // A failure that escapes a command is a critical box and the window goes on. Before any
    // programmer was found a programmer command sends nothing and enters no capture state; a
    // programmer plugged in later is found without a click, its size messages in the status
    // bar rather than boxes; pulled out, it is missed and waited for again. A port another
    // program holds ends the exchange it was in, and the busy guard lets go.
    void failuresEscapingACommandAreShown() {
        StartedApp none(0);
        const QString waiting = "Waiting for the programmer: plug it in or choose its port";
        QCOMPARE(none.child<QLabel>("StatusBar1Panel2")->text(), waiting);
        none.w().runCommand(app::Command::NewDatabase);
        none.w().runCommand(app::Command::ProgramReceiver);
        none.w().runCommand(app::Command::EnableInternalReceiver);
        QCOMPARE(none.dialogs.texts(),
                 QStringList(2, "No programmer has been found: connect it and use Find ZEPRO"));
        QVERIFY(none.w().isMenuVisible("mnuProgram"));
        none.dialogs.clear();
        none.port.addPort(1, &none.programmer);
        none.deviceWatcher.appear("COM1");
        none.timeline.advance(1.5);
        QVERIFY(none.w().isMenuVisible("mnuRead"));
        QCOMPARE(none.dialogs.messages().size(), 0);
        QCOMPARE(none.w().statusText(), "Backup tag size set");
        none.child<QRadioButton>("optTAG85Slot")->click(); // clicked: a box again
        QCOMPARE(none.dialogs.texts(), QStringList{"Backup tag size set"});
        none.deviceWatcher.vanish("COM1");
        QVERIFY(!none.w().isMenuVisible("mnuRead"));
        QVERIFY(none.child<QLabel>("StatusBar1Panel2")->text().endsWith(waiting));
        QVERIFY(!none.w().menuAction("mnuCompareReceiver")->isEnabled());
        StartedApp h;
        h.dialogs.clear();
        h.port.holdElsewhere(1);
        h.clickToolbar("ClearRX1");
        QCOMPARE(h.dialogs.texts(), QStringList{"COM1 is in use"});
        QCOMPARE(h.dialogs.messages().at(0).icon, platform::MessageIcon::Critical);
        h.w().runCommand(app::Command::NewDatabase);
        QVERIFY(h.w().isDatabaseOpen());
    }

    // While one command waits for the programmer, another is refused with a beep and a brief
    // notice, and a refused size choice (of either memory) goes back.
    void secondExchangeWhileOneWaitsIsRefused() {
        StartedApp h(1, {.ackDelay = 5.0});
        const QList<int> toolbar = h.visibleToolbarPositions();
        auto *rx85 = h.child<QRadioButton>("optRX85Slot");
        auto *tag85 = h.child<QRadioButton>("optTAG85Slot");
        h.timeline.after(1.0, [&] {
            h.w().runCommand(app::Command::ClearReceiver);
            h.w().runCommand(app::Command::EnableInternalReceiver);
            rx85->click();
            tag85->click();
            QCOMPARE(h.visibleToolbarPositions(), toolbar);
            QVERIFY(h.child("cmdCancel")->isHidden()); // a copy cannot be cancelled
        });
        h.w().runCommand(app::Command::CopyReceiverToTag);
        QCOMPARE(h.dialogs.beeps(), 4);
        QVERIFY(h.child<QRadioButton>("optRX340Slot")->isChecked() && !rx85->isChecked());
        QVERIFY(h.child<QRadioButton>("optTag340Slot")->isChecked() && !tag85->isChecked());
        QCOMPARE(h.w().statusText(),
                 "The programmer is busy: wait for the current command to finish");
        QCOMPARE(h.commandsSent().mid(3), (QList<QByteArray>{"Y"}));
        // The notice goes after a few seconds; the status the commands left comes back.
        auto *notice = h.child("StatusBar1Panel1")->findChild<QTimer *>("noticeTimer");
        QVERIFY(notice->isActive() && notice->interval() >= 2000);
        notice->start(0);
        QTRY_COMPARE(h.w().statusText(), "Found Remlet Manager on Port 1");
    }

    // While a program waits for the programmer, nothing may replace, reorder or rename the
    // records it sends: not a command (menus and toolbar all run one), the editor's exit mark
    // or a panel's button, nor a file from outside. Typing may go on.
    void databaseCommandsWaitForATransfer_data() {
        addColumns<Action, bool>("action", "refused");
        using enum app::Command;
        QTest::newRow("New") << run({NewDatabase}) << true;
        QTest::newRow("Load") << run({LoadDatabase}) << true;
        QTest::newRow("Save As") << run({SaveDatabaseAs}) << true;
        QTest::newRow("Close by the exit mark") << click("imgDatabaseExit") << true;
        QTest::newRow("Sort panel") << run({SortDatabase}) << true;
        QTest::newRow("Merge panel") << run({MergeDatabase}) << true;
        QTest::newRow("Sort button") << click("cmdSortNow") << true;
        QTest::newRow("Merge button") << click("cmdMergeDatabase") << true;
        QTest::newRow("Bulk Validate button") << click("cmdBulk") << true;
        QTest::newRow("file from outside") << Action([](AppHarness &h) {
            QVERIFY(writeFile("b.fxd", "\"B\"\r\n" + slotLine("0000000B", "Best")));
            QVERIFY(!h.w().openFile("b.fxd"));
        }) << true;
        QTest::newRow("typing a surname")
            << Action([](AppHarness &h) { QTest::keyClicks(h.child("txtSurname"), "x"); }) << false;
    }
    void databaseCommandsWaitForATransfer() {
        QFETCH(Action, action);
        QFETCH(bool, refused);
        AppHarness h;
        h.startWithDatabase();
        h.w().database().setCell(1, userdb::SerialNumber, "0000ABCD");
        h.w().database().setCell(2, userdb::Surname, "Owner");
        h.child<QLineEdit>("txtSerialStart")->setText("1");
        h.child<QLineEdit>("txtNumberFill")->setText("2");
        h.timeline.after(0.5, [&] { action(h); });
        h.w().runCommand(app::Command::ProgramReceiver);
        QCOMPARE(h.dialogs.beeps(), refused ? 1 : 0);
        QVERIFY(h.files.shown().isEmpty() && h.w().isDatabaseOpen());
        QVERIFY(!h.child("fraSort")->isVisibleTo(&h.w()));
        QCOMPARE(h.dialogs.texts().last(), "Data downloaded OK");
        QCOMPARE(h.w().records().cell(1, userdb::SerialNumber), "0000ABCD");
        QCOMPARE(h.w().records().cell(1, userdb::Surname), refused ? "" : "x");
        QCOMPARE(h.w().records().cell(2, userdb::Surname), "Owner");
    }

    // Comparing reads the device into a store of its own; verifying after a program shows
    // the Comparison window only when something differs. The database is neither changed
    // nor saved. Typing goes on during a program: a slot already sent that changes is named
    // after the success message, and verifying lists it as different.
    void compareAndVerify_data() {
        // shown: the Comparison window's summary, else the status
        addColumns<app::Command, QString, QStringList>("command", "shown", "said");
        using enum app::Command;
        const QStringList done{"Data downloaded OK"};
        QTest::newRow("compare, three differ")
            << CompareWithTag << "Tag: 3 slots differ" << QStringList();
        QTest::newRow("compare, matching")
            << CompareWithReceiver << "Receiver: every slot matches" << QStringList();
        QTest::newRow("verify the tag")
            << ProgramTag << "Verified: the tag matches the database" << done;
        QTest::newRow("verify, a slot changed after it was sent")
            << ProgramReceiver << "Receiver: 1 slot differs"
            << done + QStringList{"Slot 1 changed after it was sent: program again to send it"};
    }
    void compareAndVerify() {
        QSettings().remove("Programmer/VerifyAfterProgramming");
        AppHarness h;
        h.programmer.model().tag().setSlot(340, {"0000BEEF", "0001"});
        QFETCH(app::Command, command);
        if (command == app::Command::CompareWithReceiver) // already holds what the database does
            for (const int slot : {1, 2})
                h.programmer.model().receiver().setSlot(
                    slot, {QByteArray("0000100") + char('0' + slot), "0000"});
        h.startWithDatabase();
        for (const int slot : {1, 2})
            h.w().database().setCell(slot, userdb::SerialNumber, QString("0000100%1").arg(slot));
        QVERIFY(!h.w().menuAction("mnuVerifyAfterProgramming")->isChecked()); // until chosen
        h.w().menuAction("mnuVerifyAfterProgramming")->setChecked(true);
        const userdb::RecordStore before = h.w().records();
        if (command == app::Command::ProgramReceiver) // slot 1 is sent by then, slot 300 not yet
            h.timeline.after(1.0, [&] {
                h.w().database().setCell(1, userdb::SerialNumber, "0000000B");
                h.w().database().setCell(300, userdb::SerialNumber, "0000000C");
            });
        h.dialogs.clear();
        h.w().runCommand(command);
        h.w().menuAction("mnuVerifyAfterProgramming")->setChecked(false);
        QTEST(h.dialogs.texts(), "said");
        if (h.dialogs.messages().size() > 1)
            QCOMPARE(h.dialogs.messages().last().icon, platform::MessageIcon::Warning);
        auto *comparison = h.w().findChild<QWidget *>("ComparisonWindow");
        const bool compared = command != app::Command::ProgramTag;
        QCOMPARE(comparison && comparison->isVisible(), compared);
        // The summary as a screen reader reads it: its text.
        QTEST(compared ? readerName(comparison->findChild<QLabel *>("lblSummary"))
                       : h.w().statusText(),
              "shown");
        if (compared) // only a verify that matches says so in the status bar
            QCOMPARE(h.w().statusText(), "Found Remlet Manager on Port 1");
        if (command == app::Command::CompareWithTag) {
            // The table lists each slot that differs; choosing one (Enter) shows it, and
            // moving along the rows does not.
            auto *table = comparison->findChild<QTableView *>("tblDifferences");
            const QAbstractItemModel &rows = *table->model();
            QStringList third;
            for (int c = 0; c < rows.columnCount(); ++c)
                third << rows.index(2, c).data().toString();
            QCOMPARE(third, (QStringList{"340", "00000000", "0000", "0000BEEF", "0001"}));
            table->setCurrentIndex(rows.index(0, 0));
            QTest::keyClick(table, Qt::Key_Down);
            QTest::keyClick(table, Qt::Key_Down);
            QCOMPARE(h.w().EditSlotNumber(), 1);
            QTest::keyClick(table, Qt::Key_Enter);
            QCOMPARE(h.w().EditSlotNumber(), 340);
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                              table->visualRect(rows.index(1, 0)).center());
            QCOMPARE(h.w().EditSlotNumber(), 2); // a click chooses too
        }
        QCOMPARE(h.w().records().record(2), before.record(2)); // the device's differs
        QVERIFY(!QFile::exists("Untitled.fxd"));
    }

    // A running transfer stops on Cancel or Escape: a read or a comparison changes nothing
    // (database, title, disk), a program says how far it got; the window is as before.
    void cancellingATransfer_data() {
        addColumns<app::Command, bool, QStringList>("command", "byEscape", "messages");
        using enum app::Command;
        QTest::newRow("read, Cancel") << ReadReceiver << false << QStringList{};
        QTest::newRow("read the tag, Escape") << ReadTag << true << QStringList{};
        QTest::newRow("compare, Escape") << CompareWithReceiver << true << QStringList{};
        QTest::newRow("program, Cancel")
            << ProgramReceiver << false
            << QStringList{"Programming cancelled after 1 of 340 slots: the receiver now holds a "
                           "mix of old and new slots"};
    }
    void cancellingATransfer() {
        QFETCH(app::Command, command);
        QFETCH(bool, byEscape);
        AppHarness h(1, {.ackDelay = 1.5}); // Cancel comes while slot 1 waits for its "OK"
        h.programmer.model().receiver().setSlot(1, {"0000BEEF", "0001"});
        h.programmer.model().tag().setSlot(1, {"0000BEEF", "0001"});
        h.w().startUp();
        h.showNewDatabase();
        h.w().database().setCell(1, userdb::Surname, "Kept");
        h.runWithFile(app::Command::SaveDatabaseAs, QDir::current().filePath("kept.fxd"));
        const QString title = h.shownTitle();
        h.dialogs.clear();
        auto *cancel = h.child<QPushButton>("cmdCancel");
        bool cancelShown = false;
        h.timeline.after(0.9, [&] {
            cancelShown = cancel->isVisible();
            if (byEscape)
                QTest::keyClick(h.w().focusWidget() ? h.w().focusWidget() : &h.w(), Qt::Key_Escape);
            else
                cancel->click();
        });
        const double started = h.timeline.now();
        h.w().runCommand(command);
        QVERIFY(cancelShown && !cancel->isVisible());
        QVERIFY(h.timeline.now() - started < 0.9 + 0.2); // within 0.2 s
        QTEST(h.dialogs.texts(), "messages");
        if (!h.dialogs.messages().isEmpty())
            QCOMPARE(h.dialogs.messages().first().icon, platform::MessageIcon::Critical);
        QCOMPARE(h.shownTitle(), title);
        QCOMPARE(h.w().records().cell(1, userdb::Surname), "Kept");
        QVERIFY(!QFile::exists("Untitled.fxd"));
        QVERIFY(!h.port.isOpen() && !h.child("prbDownload")->isVisible());
        auto *comparison = h.w().findChild<QWidget *>("ComparisonWindow");
        QVERIFY(!comparison || !comparison->isVisible());
    }

    // Enrolment: each new fob presented goes into the next free slot, through the editor's
    // path (unsaved, the editor following); what would replace the records waits; Stop ends
    // capture mode as Disable does.
    void enrolFobsFromTheToolsMenu() {
        StartedApp h;
        h.child<QRadioButton>("optTAG85Slot")->click(); // the fobs go to the receiver's 340
        h.showNewDatabase();
        h.w().database().setCell(1, userdb::SerialNumber, "0000ABCD");
        for (int slot = 2; slot <= 85; ++slot)
            h.w().database().setCell(slot, userdb::Surname, "Booked");
        QPointer<QWidget> enrol;
        bool shown = false;
        h.timeline.after(0.5, [&] {
            enrol = h.w().findChild<QWidget *>("EnrolWindow");
            shown = enrol && enrol->isVisible();
            h.programmer.pressFob("RX 1A2B3C4D");
            h.timeline.after(0.5, [&] {
                h.programmer.pressFob("RX 0000abcd");
                h.w().runCommand(app::Command::NewDatabase);
                h.w().runCommand(app::Command::SortDatabase);
                h.timeline.after(0.5, [&] { QTest::keyClick(enrol, Qt::Key_Escape); });
            });
        });
        h.w().runCommand(app::Command::EnrolFobs);
        QVERIFY(shown && enrol->windowTitle() == "Enrol Fobs");
        QCOMPARE(h.w().records().cell(86, userdb::SerialNumber), "1A2B3C4D");
        QCOMPARE(h.w().records().cell(87, userdb::SerialNumber), "");
        QCOMPARE(h.child<QLabel>("lblRemletCount")->text(), "2");
        QCOMPARE(h.dialogs.beeps(), 2); // New and Sort waited
        QVERIFY(h.shownTitle().endsWith("*"));
        QCOMPARE(h.commandsSent().mid(3), (QList<QByteArray>{"H", "R", "Q"}));
        QVERIFY(h.w().isMenuVisible("mnuRead"));
    }

    // Once over a real port: the window on the Qt serial port, clock and event loop programs
    // the zepro-sim process's receiver and reads it back.
    void programAndReadOverAPseudoTerminal() {
        sim::SimulatorProcess simulator({"--no-pacing"});
        qputenv("REMLET_PORTS", simulator.path.toLocal8Bit());
        platform::QtSerialPort port;
        platform::SteadyClock clock;
        platform::QtEventLoop loop;
        AppHarness h(port, clock, loop);
        h.startWithDatabase();
        for (int slot = 1; slot <= 4; ++slot) {
            h.w().database().setCell(slot, userdb::SerialNumber, QString("00C0FFE%1").arg(slot));
            h.w().database().setCell(slot, userdb::AuxiliaryWord, QString("A%1B%1").arg(slot));
        }
        const userdb::RecordStore programmed = h.w().records();
        h.w().runCommand(app::Command::ProgramReceiver);
        h.w().runCommand(app::Command::ReadReceiver);
        QCOMPARE(h.dialogs.texts().last(), "Data downloaded OK");
        for (int slot = 1; slot <= 4; ++slot)
            QCOMPARE(h.w().records().record(slot), programmed.record(slot));
    }
};

QTEST_MAIN(ProgrammerTest)
#include "test_programmer.moc"
