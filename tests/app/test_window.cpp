// The window as keyboard and screen-reader users meet it, on a small screen with large text,
// its About box, and the Tools menu reaching its commands.
#include "appharness.h"

#include "app/about/aboutbox.h"
#include "app/editor/fieldinput.h"
#include "app/statuspanel.h"
#include "tests/common/testfiles.h"

#include <QPdfWriter>

namespace {

using Names = QSet<QString>;

// The Tools menu's items in order, a separator as "-".
QStringList toolsMenu(AppHarness &h) {
    QStringList items;
    for (const QAction *action : h.w().menuAction("mnuTools")->menu()->actions())
        items << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
    return items;
}

// The window's control of that accessible name, as a screen reader finds it.
template <class Control> Control *named(const QWidget &window, const QString &name) {
    for (Control *control : window.findChildren<Control *>())
        if (control->accessibleName() == name)
            return control;
    qFatal("No control named %s", qPrintable(name));
}

// The Tools items enabled now.
Names enabledTools(AppHarness &h) {
    Names enabled;
    for (const QString &name : toolsMenu(h))
        if (name != "-" && h.w().menuAction(name)->isEnabled())
            enabled << name;
    return enabled;
}

// Enabled whatever the state, but during a transfer: settings, imports and the programmer's
// log and port.
const Names Always{"mnuVerifyAfterProgramming", "mnuImportCsv",     "mnuImportSpreadsheet",
                   "mnuKeepPreviousVersion",    "mnuProgrammerLog", "mnuProgrammerPort"};

} // namespace

class WindowTest : public InOwnFolder {
    Q_OBJECT

private slots:
    // The shortcuts of hidden items do nothing. Tab runs through the editor top to bottom, left
    // to right, and leaves the address box (the State box's own line edit stands for the box).
    // The slot bar's arrows move one slot and Page keys ten; Ctrl+Page keys step slots from any
    // box. The panels' exit marks take the focus and act on Space; Escape closes an open panel;
    // F10 opens the first menu.
    void windowByKeyboard() {
        StartedApp h(0);
        h.w().show();
        QVERIFY(QTest::qWaitForWindowActive(&h.w()));
        QTest::keySequence(&h.w(), QKeySequence("Ctrl+Shift+S")); // no database to save
        QVERIFY(h.files.shown().isEmpty());
        QTest::keySequence(&h.w(), QKeySequence::New);
        QWidget *slotBar = h.child("hscSlot");
        slotBar->setFocus();
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 15; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget *focus = QApplication::focusWidget();
            visited << (focus->parentWidget() == h.child("cboState") ? "cboState"
                                                                     : focus->objectName());
        }
        QCOMPARE(visited.mid(0, 15),
                 (QStringList{"hscSlot", "imgDatabaseExit", "txtRemlet", "txtSurname",
                              "txtOtherNames", "txtAddress1", "txtAddress2", "txtSuburb",
                              "cboState", "txtPostCode", "txtTelephone", "txtMobile",
                              "TxtOtherDetail1", "txtOtherDetail2", "txtDatabaseAddress"}));
        QVERIFY(visited.last() != "txtDatabaseAddress");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), h.child("txtDatabaseAddress"));

        slotBar->setFocus();
        QTest::keyClick(slotBar, Qt::Key_Right);
        QCOMPARE(h.w().EditSlotNumber(), 2);
        QTest::keyClick(slotBar, Qt::Key_PageDown);
        QCOMPARE(h.w().EditSlotNumber(), 12);
        QWidget *mobile = h.child("txtMobile");
        mobile->setFocus();
        QTest::keyClick(mobile, Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(h.w().EditSlotNumber(), 13);
        QTest::keyClick(mobile, Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(h.w().EditSlotNumber(), 12);
        QCOMPARE(QApplication::focusWidget(), mobile);

        h.w().runCommand(app::Command::SortDatabase);
        auto *exit = h.child<QToolButton>("imgSortExit");
        exit->setFocus();
        QTest::keyClick(exit, Qt::Key_Space);
        QVERIFY(!h.child("fraSort")->isVisible());
        h.w().runCommand(app::Command::MergeDatabase);
        h.child("chkAddExtra")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!h.child("fraMergeDatabase")->isVisible());
        // F10 reaches the menu bar; the keyboard then runs a command on the bar itself.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10);
        QCOMPARE(h.w().menuBar()->activeAction(), h.w().menuAction("mnuFile"));
        QTest::keyClick(h.w().menuBar(), Qt::Key_Right);
        QTest::keyClick(h.w().menuBar(), Qt::Key_Return);
        QVERIFY(h.child("fraSort")->isVisible());
        QCOMPARE(QApplication::focusWidget(), h.child("optSurname")); // the panel has the keyboard
        h.files.queueAnswer(std::nullopt);
        QTest::keySequence(&h.w(), QKeySequence("Ctrl+Shift+S"));
        QCOMPARE(h.files.shown().size(), 1);
        // Every menu and item has a mnemonic, none shared within its menu; the captions are the
        // system's own but for the "&".
        QStringList captions;
        for (const char *name :
             {"mnuFile", "mnuSortDatabase", "mnuMergeDatabase", "mnuRead", "mnuProgram", "mnuCopy",
              "mnuClear", "mnuRX", "mnuFindRemletManager", "mnuAbout", "mnuTools",
              "mnuSaveDatabaseAs", "mnuCopyfromTagtoReceiver", "mnuEnableRX"})
            captions << h.w().menuAction(name)->text();
        QCOMPARE(captions.join('|'), "&File|&Sort Database|&Merge Database|&Read|&Program|&Copy|"
                                     "C&lear|R&X|F&ind ZEPRO|&About|&Tools|Save Database &As...|"
                                     "Copy from &Tag to Receiver|&Enable Internal Receiver");
        QList<QList<QAction *>> menus{h.w().menuBar()->actions()};
        for (QAction *bar : h.w().menuBar()->actions())
            if (bar->menu())
                menus << bar->menu()->actions();
        for (const QList<QAction *> &menu : menus) {
            QStringList letters;
            for (const QAction *action : menu) {
                const qsizetype amp = action->text().indexOf('&');
                if (!action->isSeparator())
                    letters << (amp < 0 ? "none: " + action->text()
                                        : action->text().mid(amp + 1, 1).toUpper());
            }
            QVERIFY2(!letters.join(' ').contains("none"), qPrintable(letters.join(' ')));
            QCOMPARE(QSet<QString>(letters.begin(), letters.end()).size(), letters.size());
        }
        // A screen reader names the bars, and the menus without their "&".
        QCOMPARE(readerName(h.w().menuBar()) + '|' +
                     readerName(h.w().menuAction("mnuTools")->menu()) + '|' +
                     readerName(h.child("StatusBar1")),
                 "Menu bar|Tools|Status bar");
    }

    // A Tools item is offered only when it can apply. Labels whose text changes give that text
    // to screen readers as their name. Capture mode holds the programmer; the serial it showed
    // may then go into the slot, by Ctrl+U while typing in a box, as if typed: the slot holding
    // it already is named.
    void toolsLabelsAndTheCapturedSerial() {
        const Names withDatabase =
            Always + Names{"mnuUserList",          "mnuFind",          "mnuGoToSlot",
                           "mnuExportCsv",         "mnuPrintUserList", "mnuExportPdf",
                           "mnuExportSpreadsheet", "mnuBulkFill"};
        StartedApp alone(0);
        QCOMPARE(toolsMenu(alone).join(' '),
                 "mnuUserList mnuFind mnuGoToSlot mnuUseCapturedSerial mnuEnrolFobs - "
                 "mnuCompareReceiver mnuCompareTag mnuVerifyAfterProgramming - mnuExportCsv "
                 "mnuImportCsv mnuExportSpreadsheet mnuImportSpreadsheet mnuPrintUserList "
                 "mnuExportPdf - mnuBulkFill mnuKeepPreviousVersion - mnuProgrammerLog "
                 "mnuProgrammerPort");
        alone.w().runCommand(app::Command::NewDatabase);
        QCOMPARE(enabledTools(alone), withDatabase);
        StartedApp h;
        QCOMPARE(enabledTools(h), Always);
        h.showNewDatabase();
        const Names programmerItems{"mnuEnrolFobs", "mnuCompareReceiver", "mnuCompareTag"};
        QCOMPARE(enabledTools(h), withDatabase + programmerItems);
        h.w().database().setCell(17, userdb::SerialNumber, "1A2B3C4D");
        h.child<QScrollBar>("hscSlot")->setValue(7);
        QStringList names;
        for (const char *name : {"StatusBar1Panel1", "StatusBar1Panel2", "lblEnableRX",
                                 "lblUserSlot", "lblRemletCount"})
            names << readerName(h.child(name));
        QCOMPARE(names.join('|'), "Found Remlet Manager on Port 1|Port 1: COM1|ZEPRO V2.4|7|1");
        Names duringCapture;
        h.timeline.after(1.0, [&] {
            h.programmer.pressFob("RX 1a2b3c4d");
            h.timeline.after(0.5, [&] {
                duringCapture = enabledTools(h);
                h.child("txtSurname")->setFocus();
                QTest::keySequence(QApplication::focusWidget(), QKeySequence("Ctrl+U"));
                h.w().runCommand(app::Command::DisableInternalReceiver);
            });
        });
        h.w().runCommand(app::Command::EnableInternalReceiver);
        // The programmer is busy: nothing else may use it, nor may its port change.
        QCOMPARE(duringCapture,
                 withDatabase + Names{"mnuUseCapturedSerial"} - Names{"mnuProgrammerPort"});
        QCOMPARE(h.w().records().cell(7, userdb::SerialNumber), "1A2B3C4D");
        QCOMPARE(h.child<QLineEdit>("txtRemlet")->text(), "1A2B3C4D");
        QCOMPARE(h.child<QLabel>("StatusBar1Panel2")->text(), "Serial 1A2B3C4D is also in slot 17");
        Names duringRead;
        int refused = -1;
        bool listShown = false;
        h.timeline.after(0.5, [&] {
            duringRead = enabledTools(h);
            const int beeps = h.dialogs.beeps();
            h.w().menuAction("mnuUserList")->trigger();
            if (auto *list = h.w().findChild<QWidget *>("UserListWindow"))
                listShown = list->isVisible();
            h.w().menuAction("mnuFind")->trigger();
            h.w().menuAction("mnuProgrammerLog")->trigger();
            refused = h.dialogs.beeps() - beeps;
        });
        h.runAnswering(app::Command::ReadReceiver, platform::Answer::Discard);
        // A read holds the programmer and the records: only what merely looks stays, and runs.
        QCOMPARE(duringRead, (Names{"mnuUserList", "mnuFind", "mnuGoToSlot", "mnuProgrammerLog"}));
        QVERIFY(listShown && refused == 0);
        h.w().runCommand(app::Command::CloseDatabase);
        QCOMPARE(enabledTools(h), Always);
    }

    // Find opens the list with the find box ready, also when it is open already; the list
    // follows the database, its count read as it shows; Return in the find box goes into the
    // table, on the row found; Tab runs from the find box to the check box and the table.
    // Choosing a row (Return, Enter, a click) shows its slot in the editor; closing the
    // database closes the list.
    void userListGoToSlotAndLiveNames() {
        AppHarness h(0);
        h.showNewDatabase();
        h.w().menuAction("mnuFind")->trigger();
        auto *list = h.w().findChild<QWidget *>("UserListWindow");
        QVERIFY(list && QTest::qWaitForWindowActive(list));
        auto *find = named<QLineEdit>(*list, "Find");
        auto *duplicates = named<QCheckBox>(*list, "Duplicates only");
        auto *table = named<QTableView>(*list, "Users");
        auto *count = list->findChild<QLabel *>("statusLabel");
        h.w().runCommand(app::Command::NewDatabase);
        for (const int slot : {1, 2})
            h.w().database().setCell(slot, userdb::SerialNumber, "1A2B3C4D");
        h.w().database().setCell(9, userdb::Address2, "Harbour Towers");
        QCOMPARE(readerName(count), "3 of 3 users");
        QTest::keyClicks(find, "Harbour");
        QCOMPARE(readerName(count), "1 of 3 users");
        QTest::keyClick(find, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), table);
        QTest::keyClick(table, Qt::Key_Return);
        QCOMPARE(h.w().EditSlotNumber(), 9);
        QCOMPARE(h.child<QLineEdit>("txtAddress2")->text(), "Harbour Towers");
        h.w().menuAction("mnuFind")->trigger(); // back to the find box
        QVERIFY(QTest::qWaitForWindowActive(list));
        QCOMPARE(QApplication::focusWidget(), find);
        find->clear();
        QTest::keyClick(find, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), duplicates);
        QTest::keyClick(duplicates, Qt::Key_Space);
        QCOMPARE(readerName(count), "2 of 3 users");
        QTest::keyClick(duplicates, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), table);
        QTest::keyClick(table, Qt::Key_Down);
        QTest::keyClick(table, Qt::Key_Enter);
        QCOMPARE(h.w().EditSlotNumber(), 2);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          table->visualRect(table->model()->index(0, 1)).center());
        QCOMPARE(h.w().EditSlotNumber(), 1);
        QVERIFY(QTest::qWaitForWindowActive(&h.w()));            // the editor comes to the front
        h.w().database().setCell(3, userdb::Surname, "Harbour"); // a slot with text joins
        QCOMPARE(readerName(count), "2 of 4 users");
        h.runAnswering(app::Command::CloseDatabase, platform::Answer::Discard);
        QVERIFY(!list->isVisible()); // the list goes with the database

        // Go to Slot shows the slot typed through the scroll bar's path, so the serial check
        // runs for the slot left; the status bar's names follow their text.
        h.w().runCommand(app::Command::NewDatabase);
        QTest::keyClicks(h.child("txtRemlet"), "12");
        QString title;
        QTimer::singleShot(0, [&title] {
            if (QWidget *dialog = QApplication::activeModalWidget()) {
                title = dialog->windowTitle();
                auto *box = dialog->findChild<QSpinBox *>();
                QTest::keyClicks(box, "200");
                QTest::keyClick(box, Qt::Key_Return);
                dialog->close(); // should Enter not have
            }
        });
        QTest::keySequence(&h.w(), QKeySequence("Ctrl+G"));
        QCOMPARE(title, "Go to Slot");
        QCOMPARE(h.w().EditSlotNumber(), 200);
        QCOMPARE(h.w().records().cell(1, userdb::SerialNumber), "12");
        QTRY_COMPARE(h.dialogs.messages().size(), 1); // the serial check of slot 1
        QVERIFY(h.dialogs.texts().first().startsWith("Remlet serial number too short."));
        // A long message is cut short rather than widening the window; the name keeps it whole.
        const int width = h.w().width();
        const QString longText(300, 'x');
        h.child<app::StatusPanel>("StatusBar1Panel2")->setLastingText(longText);
        QVERIFY(h.child("StatusBar1Panel2")->minimumSizeHint().width() < width / 2);
        QCOMPARE(readerName(h.child("StatusBar1Panel2")), longText);
        for (QWidget *child : h.child("StatusBar1")->findChildren<QWidget *>())
            QVERIFY2(!readerName(child).isEmpty(), child->metaObject()->className());
    }

    // The About box from its menu item, and its System Info; out to a spreadsheet and back, a
    // refused spreadsheet, the PDF and the printer.
    void aboutBoxSpreadsheetsAndPaper() {
        QFile::remove("Untitled.fxd"); // a read's, from another test
        AppHarness h(0);
        QString aboutTitle; // of the box the menu item opens, closed again at once
        QTimer::singleShot(0, &h.w(), [&aboutTitle] {
            if (QWidget *box = QApplication::activeModalWidget()) {
                aboutTitle = box->windowTitle();
                box->close();
            }
        });
        h.w().runCommand(app::Command::About);
        QVERIFY2(aboutTitle.startsWith("About "), qPrintable(aboutTitle));
        app::AboutBox about(h.dialogs, h.systemInfo, &h.w());
        about.StartSysInfo();
        QCOMPARE(h.dialogs.texts(), QStringList{"System Information Is Unavailable At This Time"});
        auto &values = h.systemInfo.values;
        values.insert("SOFTWARE\\Microsoft\\Shared Tools Location|MSINFO", "C:\\Tools");
        about.StartSysInfo(); // the folder lacks MSINFO32.EXE
        h.systemInfo.files.insert("C:\\Tools\\MSINFO32.EXE");
        about.StartSysInfo();
        values.insert("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO|PATH", "D:\\msinfo.exe");
        about.StartSysInfo(); // started unchanged, without testing that it exists
        QCOMPARE(h.systemInfo.started, (QStringList{"C:\\Tools\\MSINFO32.EXE", "D:\\msinfo.exe"}));
        QCOMPARE(h.dialogs.messages().size(), 2);
        h.dialogs.clear();
        h.w().runCommand(app::Command::NewDatabase);
        h.w().database().setCell(1, userdb::SerialNumber, "0000001A");
        h.w().database().setCell(1, userdb::Surname, "=Smith, Jo");
        const userdb::RecordStore typed = h.w().records();
        h.runWithDocument(app::Command::ExportCsv, path("users.csv"));
        QCOMPARE(h.documents.shown().at(0).proposedPath, "Untitled.csv");
        QVERIFY(writeFile(path("bad.csv"), "Surname\r\nNo serial column\r\n"));
        h.documents.queueAnswer(path("bad.csv"));
        h.runAnswering(app::Command::ImportCsv, platform::Answer::Discard);
        QCOMPARE(h.dialogs.messages().size(), 1);
        QCOMPARE(h.w().DatabaseFilename(), "Untitled.fxd");
        h.runAnswering(app::Command::NewDatabase, platform::Answer::Discard);
        h.runWithDocument(app::Command::ImportCsv, path("users.csv"));
        QCOMPARE(h.w().DatabaseFilename(), path("users.fxd"));
        // A workbook keeps the address too; an import comes in unsaved.
        h.child<app::AddressEdit>("txtDatabaseAddress")->setAddressText("Site\r\nGate 2");
        h.runWithDocument(app::Command::ExportSpreadsheet, path("users.xlsx"));
        QCOMPARE(h.documents.shown().last().proposedPath, path("users.xlsx"));
        h.runAnswering(app::Command::NewDatabase, platform::Answer::Discard);
        h.child<app::AddressEdit>("txtDatabaseAddress")->setAddressText("");
        h.documents.queueAnswer(path("users.xlsx"));
        // The address was edited: the import asks first.
        h.runAnswering(app::Command::ImportSpreadsheet, platform::Answer::Discard);
        QCOMPARE(h.w().records().record(1), typed.record(1));
        QCOMPARE(h.child<app::AddressEdit>("txtDatabaseAddress")->addressText(), "Site\r\nGate 2");
        QCOMPARE(h.shownTitle(), "Corvane Systems Remlet Manager - " + path("users.fxd*"));
        h.runWithDocument(app::Command::ExportPdf, path("users.pdf"));
        QVERIFY(QFileInfo(path("users.pdf")).size() > 0);
        QPdfWriter printer(path("printed.pdf"));
        h.documents.printer = &printer;
        h.w().runCommand(app::Command::PrintUserList);
        QCOMPARE(h.documents.printRequests(), 1);
        // Each failure is told: an export into a folder that is not there, a printer that fails.
        h.runWithDocument(app::Command::ExportCsv, path("missing/users.csv"));
        h.runWithDocument(app::Command::ExportPdf, path("missing/users.pdf"));
        QPdfWriter broken(path("missing/printed.pdf"));
        h.documents.printer = &broken;
        h.w().runCommand(app::Command::PrintUserList);
        const QStringList told = h.dialogs.texts().mid(1); // after the refused import's
        QCOMPARE(told.size(), 3);
        QVERIFY(told[0].startsWith("Cannot export to") && told[1].contains("missing/users.pdf"));
        QCOMPARE(told[2], "The printer could not print the user list.");
    }
};

QTEST_MAIN(WindowTest)
#include "test_window.moc"
