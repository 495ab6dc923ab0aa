// Start-up, discovery, memory sizes, command states, toolbar dispatch, re-entry, failures
// that escape a command, shutdown and the About box.
#include "appharness.h"

#include "app/about/aboutbox.h"
#include "platform/fakes/scripteddevice.h"

#include <QLabel>
#include <QRadioButton>
#include <QtTest>

using platform::MessageIcon;

class FoundationTest : public QObject {
    Q_OBJECT

private slots:
    void startUpWithoutProgrammer() {
        AppHarness h(0);
        h.w().startUp();
        QCOMPARE(h.w().statusText(), QStringLiteral("Cannot Find Remlet Manager"));
        QCOMPARE(h.visibleToolbarPositions(), (QList<int>{1, 2, 31}));
        QCOMPARE(h.visibleMenus(), QStringList());
        QVERIFY(h.dialogs.messages().isEmpty());
        QCOMPARE(h.w().windowTitle(), QStringLiteral("Corvane Systems Remlet Manager"));
        // Program is offered with a database open; it says what is missing and sends nothing,
        // and so does any other programmer command started all the same.
        h.w().runCommand(app::Command::NewDatabase);
        h.port.clearLog();
        h.w().runCommand(app::Command::ProgramReceiver);
        h.w().runCommand(app::Command::EnableInternalReceiver);
        QCOMPARE(h.dialogs.texts(),
                 QStringList(2, "No programmer has been found: connect it and use Find ZEPRO"));
        QCOMPARE(h.dialogs.messages().at(1).icon, MessageIcon::Critical);
        QVERIFY(h.port.operations().isEmpty());
        QVERIFY(h.w().isMenuVisible(QStringLiteral("mnuProgram"))); // no capture state entered
    }

    void startUpShowsBothSizeMessagesBeforeTheWindow() {
        AppHarness h(1);
        QList<bool> windowVisibleAtMessage;
        h.dialogs.onMessage = [&](const platform::FakeDialogs::Shown &) {
            windowVisibleAtMessage.append(h.w().isVisible());
        };
        h.w().startUp();
        QCOMPARE(h.dialogs.texts(), (QStringList{QStringLiteral("Receiver memory size set"),
                                                 QStringLiteral("Backup tag size set")}));
        QCOMPARE(windowVisibleAtMessage, (QList<bool>{false, false}));
        QCOMPARE(h.dialogs.messages().at(0).caption, QStringLiteral("RemletManager"));
        QCOMPARE(h.dialogs.messages().at(0).icon, MessageIcon::None);
        QCOMPARE(h.w().statusText(), QStringLiteral("Found Remlet Manager on Port 1"));
        QCOMPARE(h.w().findChild<QLabel *>(QStringLiteral("StatusBar1Panel2"))->text(),
                 QStringLiteral("Port 1: COM1"));
        QVERIFY(h.w()
                    .findChild<QLabel *>(QStringLiteral("lblEnableRX"))
                    ->text()
                    .startsWith(QStringLiteral("ZEPRO V")));
        QCOMPARE(h.commandsSent(), (QList<QByteArray>{"P", "E", "G"}));
        QCOMPARE(h.w().Port, 1);
        QVERIFY(!h.port.isOpen());
    }

    void commonStates_data() {
        QTest::addColumn<bool>("programmer");
        QTest::addColumn<bool>("database");
        QTest::addColumn<QList<int>>("toolbar");
        QTest::addColumn<QStringList>("menus");
        const QStringList fileItems{"mnuSaveDatabase", "mnuSaveDatabaseAs", "mnuCloseDatabase"};
        QTest::newRow("programmer, no database")
            << true << false << positions({{1, 2}, {12, 13}, {19, 31}})
            << QStringList{"mnuRead", "mnuCopy", "mnuClear", "mnuRX"};
        QTest::newRow("programmer and database")
            << true << true << positions({{1, 9}, {12, 13}, {15, 16}, {19, 31}})
            << fileItems +
                   QStringList{"mnuSortDatabase", "mnuMergeDatabase", "mnuRead", "mnuProgram",
                               "mnuCopy",         "mnuClear",         "mnuRX"};
        QTest::newRow("database, no programmer")
            << false << true << positions({{1, 9}, {15, 16}, {31, 31}})
            << fileItems + QStringList{"mnuSortDatabase", "mnuMergeDatabase", "mnuProgram"};
    }

    void commonStates() {
        QFETCH(bool, programmer);
        QFETCH(bool, database);
        QFETCH(QList<int>, toolbar);
        QFETCH(QStringList, menus);
        AppHarness h(programmer ? 1 : 0);
        h.w().startUp();
        if (database)
            h.w().runCommand(app::Command::NewDatabase);
        QCOMPARE(h.visibleToolbarPositions(), toolbar);
        QCOMPARE(h.visibleMenus(), menus);
    }

    // Left by Disable, or by the programmer hanging up while the mode listens: either way the
    // commands come back.
    void captureStateWithDatabaseAndBack_data() {
        QTest::addColumn<bool>("hangUp");
        QTest::addColumn<QList<QByteArray>>("sent");
        QTest::addColumn<QString>("status");
        QTest::newRow("Disable") << false << QList<QByteArray>{"R", "Q"}
                                 << QStringLiteral("Communications OK");
        QTest::newRow("programmer hangs up")
            << true << QList<QByteArray>{"R"} << QStringLiteral("Communications Error");
    }
    void captureStateWithDatabaseAndBack() {
        QFETCH(bool, hangUp);
        sim::ProgrammerOptions options;
        options.hangUpAfter = hangUp ? 4 : 0; // P, E and G at start-up, then R
        AppHarness h(1, options);
        h.w().startUp();
        h.w().runCommand(app::Command::NewDatabase);
        const QList<int> before = h.visibleToolbarPositions();
        const QStringList menusBefore = h.visibleMenus();
        QList<int> during;
        QStringList menusDuring;
        h.timeline.after(0.1, [&] {
            during = h.visibleToolbarPositions();
            menusDuring = h.visibleMenus();
            h.w().runCommand(app::Command::NewDatabase); // the records are free meanwhile
            if (!hangUp)
                h.w().Toolbar1_ButtonClick(QStringLiteral("DisableRX2"));
        });
        h.w().Toolbar1_ButtonClick(QStringLiteral("EnableRX32"));
        QCOMPARE(during, positions({{1, 8}, {28, 31}}));
        QCOMPARE(menusDuring, (QStringList{"mnuSaveDatabase", "mnuSaveDatabaseAs",
                                           "mnuCloseDatabase", "mnuSortDatabase", "mnuRX"}));
        QCOMPARE(h.visibleToolbarPositions(), before);
        QCOMPARE(h.visibleMenus(), menusBefore);
        QTEST(h.commandsSent().mid(3), "sent");
        QTEST(h.w().statusText(), "status");
        QCOMPARE(h.dialogs.beeps(), 0);
        QVERIFY(!h.port.isOpen());
    }

    void toolbarKeysIgnoreCase() {
        AppHarness h(1);
        h.w().Toolbar1_ButtonClick(QStringLiteral("findzepro1"));
        QCOMPARE(h.w().statusText(), QStringLiteral("Found Remlet Manager on Port 1"));
        h.w().Toolbar1_ButtonClick(QStringLiteral("no such key"));
        h.w().Toolbar1_ButtonClick(QString()); // a separator
        QCOMPARE(h.commandsSent(), (QList<QByteArray>{"P", "E", "G"}));
    }

    void sizeChosenBeforeDiscoveryIsSentByIt() {
        AppHarness h(1);
        auto *rx85 = h.w().findChild<QRadioButton *>(QStringLiteral("optRX85Slot"));
        rx85->click();
        QVERIFY(rx85->isChecked());
        QVERIFY(h.port.writes().isEmpty());
        QVERIFY(h.dialogs.messages().isEmpty());
        h.w().runCommand(app::Command::FindProgrammer);
        QCOMPARE(h.commandsSent(), (QList<QByteArray>{"P", "F", "G"}));
        QCOMPARE(h.programmer.model().receiver().size(), 85);
    }

    void failedDiscoveryKeepsPortAndLabelButWithdrawsCommands() {
        AppHarness h(1);
        h.w().startUp();
        const QString identification =
            h.w().findChild<QLabel *>(QStringLiteral("lblEnableRX"))->text();
        h.port.addPort(1); // the programmer is gone; the port stays

        h.w().runCommand(app::Command::FindProgrammer);
        QCOMPARE(h.w().statusText(), QStringLiteral("Cannot Find Remlet Manager"));
        QCOMPARE(h.w().Port, 1);
        QCOMPARE(h.w().findChild<QLabel *>(QStringLiteral("lblEnableRX"))->text(), identification);
        QCOMPARE(h.visibleToolbarPositions(), (QList<int>{1, 2, 29, 30, 31}));
        QCOMPARE(h.visibleMenus(), QStringList());
    }

    void secondExchangeWhileOneWaitsIsRefused() {
        sim::ProgrammerOptions slow;
        slow.ackDelay = 5.0;
        AppHarness h(1, slow);
        h.w().startUp();
        const QList<int> toolbar = h.visibleToolbarPositions();
        auto *rx340 = h.w().findChild<QRadioButton *>(QStringLiteral("optRX340Slot"));
        auto *rx85 = h.w().findChild<QRadioButton *>(QStringLiteral("optRX85Slot"));
        h.timeline.after(1.0, [&] {
            h.w().runCommand(app::Command::ClearReceiver);
            h.w().runCommand(app::Command::EnableInternalReceiver);
            rx85->click(); // refused: the choice goes back, the programmer is not told
            QCOMPARE(h.visibleToolbarPositions(), toolbar);
        });
        h.w().runCommand(app::Command::CopyReceiverToTag);
        QCOMPARE(h.dialogs.beeps(), 3);
        QVERIFY(rx340->isChecked() && !rx85->isChecked());
        QCOMPARE(h.w().statusText(),
                 QStringLiteral("The programmer is busy: wait for the current command to finish"));
        QCOMPARE(h.commandsSent().mid(3), (QList<QByteArray>{"Y"}));
        QCOMPARE(h.dialogs.texts().last(), QStringLiteral("Copied from Receiver to Tag"));
        // The notice goes after a few seconds; the status the commands left comes back.
        auto *notice = h.child("StatusBar1Panel1")->findChild<QTimer *>("noticeTimer");
        QVERIFY(notice->isActive() && notice->interval() >= 2000);
        notice->start(0);
        QTRY_COMPARE(h.w().statusText(), QStringLiteral("Found Remlet Manager on Port 1"));
        // Once the first has finished, the next command runs.
        h.w().runCommand(app::Command::ClearReceiver);
        QCOMPARE(h.commandsSent().last(), QByteArray("K"));
    }

    void failureEscapingACommandIsShownAndTheWindowGoesOn() {
        AppHarness h(1);
        h.w().startUp();
        h.dialogs.clear();
        h.port.holdElsewhere(1);
        h.w().runCommand(app::Command::ClearTag);
        QCOMPARE(h.dialogs.messages().size(), 1);
        QCOMPARE(h.dialogs.messages().at(0).icon, MessageIcon::Critical);
        QVERIFY(h.dialogs.messages().at(0).text.contains(QStringLiteral("in use")));
        h.w().Toolbar1_ButtonClick(QStringLiteral("ClearRX1"));
        QCOMPARE(h.dialogs.messages().size(), 2);
        h.w().runCommand(app::Command::NewDatabase);
        QVERIFY(h.w().isDatabaseOpen());
    }

    void closingDuringCaptureClosesThePortWithoutSwitchingOff() {
        AppHarness h(1);
        h.w().startUp();
        h.timeline.after(1.0, [&] { h.w().close(); });
        h.w().runCommand(app::Command::EnableInternalReceiver);
        QVERIFY(!h.port.isOpen());
        QCOMPARE(h.commandsSent().mid(3), (QList<QByteArray>{"R"}));
        QCOMPARE(h.dialogs.messages().size(), 2); // the two size messages only
    }

    void shortcutsFollowTheCommandStates() {
        AppHarness h(0);
        h.w().startUp();
        h.w().show();
        QVERIFY(QTest::qWaitForWindowActive(&h.w()));
        QTest::keySequence(&h.w(), QKeySequence::Save); // hidden: no database to save
        QTest::keySequence(&h.w(), QKeySequence(QStringLiteral("Ctrl+Shift+S")));
        QVERIFY(h.files.shown().isEmpty());
        QTest::keySequence(&h.w(), QKeySequence::New);
        QVERIFY(h.w().isDatabaseOpen());
        h.files.queueAnswer(std::nullopt);
        QTest::keySequence(&h.w(), QKeySequence(QStringLiteral("Ctrl+Shift+S")));
        QCOMPARE(h.files.shown().size(), 1);
    }

    void aboutBoxSystemInfo() {
        AppHarness h(0);
        app::AboutBox about(h.dialogs, h.systemInfo, &h.w());
        QCOMPARE(about.windowTitle(), QStringLiteral("About RemletManager"));
        QCOMPARE(about.findChild<QLabel *>(QStringLiteral("lblVersion"))->text(),
                 QStringLiteral("Version 1.1.0"));
        about.StartSysInfo();
        QCOMPARE(h.dialogs.texts(),
                 QStringList{QStringLiteral("System Information Is Unavailable At This Time")});
        QCOMPARE(h.dialogs.messages().at(0).icon, MessageIcon::None);

        const QString location =
            QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location|MSINFO");
        h.systemInfo.values.insert(location, QStringLiteral("C:\\Tools"));
        about.StartSysInfo(); // the folder lacks MSINFO32.EXE
        QCOMPARE(h.dialogs.messages().size(), 2);
        h.systemInfo.files.insert(QStringLiteral("C:\\Tools\\MSINFO32.EXE"));
        about.StartSysInfo();
        h.systemInfo.values.insert(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO|PATH"),
                                   QStringLiteral("D:\\msinfo.exe"));
        about.StartSysInfo(); // started unchanged, without testing that it exists
        QCOMPARE(h.systemInfo.started, (QStringList{"C:\\Tools\\MSINFO32.EXE", "D:\\msinfo.exe"}));
        QCOMPARE(h.dialogs.messages().size(), 2);
    }
};

QTEST_MAIN(FoundationTest)
#include "test_foundation.moc"
