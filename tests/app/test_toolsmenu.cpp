// The Tools menu through the window: which items apply when, the user list following the
// database, the duplicate note, the captured serial, comparing with a device and verifying a
// program, spreadsheets, PDF and paper.
#include "appharness.h"

#include <QAbstractProxyModel>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPdfWriter>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using platform::MessageIcon;

namespace {

const QStringList ToolItems{"mnuUserList",        "mnuFind",          "mnuUseCapturedSerial",
                            "mnuCompareReceiver", "mnuCompareTag",    "mnuExportCsv",
                            "mnuImportCsv",       "mnuPrintUserList", "mnuExportPdf"};

// The Tools items enabled now, in alphabetical order.
QStringList enabledTools(AppHarness &h) {
    QStringList enabled;
    for (const QString &name : ToolItems)
        if (h.w().menuAction(name)->isEnabled())
            enabled << name;
    enabled.sort();
    return enabled;
}

QStringList sorted(QStringList names) {
    names.sort();
    return names;
}

void fillReceiver(AppHarness &h, int count) {
    for (int slot = 1; slot <= count; ++slot)
        h.programmer.model().receiver().setSlot(
            slot, {QByteArray::number(0x1000 + slot, 16).rightJustified(8, '0').toUpper(), "0001"});
}

} // namespace

class ToolsMenuTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase() { QVERIFY(QDir::setCurrent(m_dir.path())); }

    // An item is offered only when it can apply.
    void itemsApplyWhenTheyCan() {
        const QStringList always{"mnuImportCsv"};
        const QStringList withDatabase{"mnuUserList",  "mnuFind",          "mnuExportCsv",
                                       "mnuImportCsv", "mnuPrintUserList", "mnuExportPdf"};
        AppHarness alone(0);
        alone.w().startUp();
        QCOMPARE(enabledTools(alone), always);
        alone.w().runCommand(app::Command::NewDatabase);
        QCOMPARE(enabledTools(alone), sorted(withDatabase));

        AppHarness h(1);
        h.w().startUp();
        QCOMPARE(enabledTools(h), always);
        h.w().runCommand(app::Command::NewDatabase);
        QCOMPARE(enabledTools(h),
                 sorted(withDatabase + QStringList{"mnuCompareReceiver", "mnuCompareTag"}));
        // Capture mode holds the programmer; a fob's serial may then go into the editor.
        QStringList duringCapture;
        h.timeline.after(1.0, [&] {
            h.programmer.pressFob("RX 1a2b3c4d");
            h.timeline.after(0.5, [&] {
                duringCapture = enabledTools(h);
                h.w().runCommand(app::Command::DisableInternalReceiver);
            });
        });
        h.w().runCommand(app::Command::EnableInternalReceiver);
        QCOMPARE(duringCapture, sorted(withDatabase + QStringList{"mnuUseCapturedSerial"}));
        // A read holds the programmer and the records.
        QStringList duringRead;
        h.timeline.after(0.5, [&] { duringRead = enabledTools(h); });
        h.w().runCommand(app::Command::ReadReceiver);
        QCOMPARE(duringRead, sorted({"mnuUserList", "mnuFind", "mnuUseCapturedSerial",
                                     "mnuExportCsv", "mnuPrintUserList", "mnuExportPdf"}));
        h.w().runCommand(app::Command::CloseDatabase);
        QCOMPARE(enabledTools(h), always);
    }

    // The list follows every change of the database, a keystroke touching one row only;
    // choosing a row shows its slot in the editor.
    void userListFollowsTheDatabase() {
        AppHarness h(1);
        fillReceiver(h, 3);
        h.w().startUp();
        h.w().runCommand(app::Command::NewDatabase);
        h.w().show();
        QVERIFY(QTest::qWaitForWindowActive(&h.w()));
        h.w().menuAction("mnuFind")->trigger();
        auto *list = h.w().findChild<QWidget *>("UserListWindow");
        QVERIFY(list && list->isVisible());
        QCOMPARE(list->focusWidget()->accessibleName(), QStringLiteral("Find"));
        auto *view = list->findChild<QTableView *>("usersView");
        auto *source = qobject_cast<QAbstractProxyModel *>(view->model())->sourceModel();
        auto rows = [&] { return view->model()->rowCount(); };

        QTest::keyClicks(h.child("txtSurname"), "S");
        QCOMPARE(rows(), 1);
        QSignalSpy edits(source, &QAbstractItemModel::dataChanged);
        QTest::keyClicks(h.child("txtSurname"), "m");
        QCOMPARE(edits.size(), 1);
        QCOMPARE(edits.at(0).at(0).toModelIndex().row(), edits.at(0).at(1).toModelIndex().row());
        h.child<QLineEdit>("txtSerialStart")->setText(QStringLiteral("1A"));
        h.child<QLineEdit>("txtNumberFill")->setText(QStringLiteral("3"));
        h.w().cmdBulk_Click();
        QCOMPARE(rows(), 3);
        h.w().runCommand(app::Command::ReadReceiver);
        QCOMPARE(rows(), 340); // the device reports every slot, empty ones as 00000000
        h.w().runCommand(app::Command::NewDatabase);
        QCOMPARE(rows(), 0);

        h.w().database().setCell(5, userdb::Surname, QStringLiteral("Five"));
        view->setFocus();
        view->setCurrentIndex(view->model()->index(0, 0));
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(h.w().EditSlotNumber, 5);
        QCOMPARE(h.child<QLineEdit>("txtSurname")->text(), QStringLiteral("Five"));
    }

    // A serial enrolled twice is named when the serial box is left; a serial that capture
    // mode showed goes into the slot as if typed.
    void duplicateNoteAndCapturedSerial() {
        AppHarness h(1);
        h.w().startUp();
        h.w().runCommand(app::Command::NewDatabase);
        h.w().show();
        QVERIFY(QTest::qWaitForWindowActive(&h.w()));
        h.w().database().setCell(17, userdb::SerialNumber, QStringLiteral("1A2B3C4D"));
        h.timeline.after(1.0, [&] {
            h.programmer.pressFob("RX 1a2b3c4d");
            h.timeline.after(0.5, [&] {
                // Ctrl+U while typing in a box: the window's shortcut, not the box's own.
                h.child("txtSurname")->setFocus();
                QTest::keySequence(QApplication::focusWidget(), QKeySequence("Ctrl+U"));
                h.w().runCommand(app::Command::DisableInternalReceiver);
            });
        });
        h.w().runCommand(app::Command::EnableInternalReceiver);
        QCOMPARE(h.w().records().cell(1, userdb::SerialNumber), QStringLiteral("1A2B3C4D"));
        QCOMPARE(h.child<QLineEdit>("txtRemlet")->text(), QStringLiteral("1A2B3C4D"));
        QCOMPARE(h.child<QLabel>("StatusBar1Panel2")->text(),
                 QStringLiteral("Serial 1A2B3C4D is also in slot 17"));
    }

    // Comparing reads the device into a store of its own; verifying after a program shows
    // the window only when something differs.
    void compareAndVerify_data() {
        QTest::addColumn<app::Command>("command");
        QTest::addColumn<int>("droppedWrite"); // a slot the device acknowledges but drops
        QTest::addColumn<bool>("verify");
        QTest::addColumn<QString>("summary"); // the Comparison window's; empty: not shown
        QTest::addColumn<QString>("status");
        QTest::newRow("compare, matching") << app::Command::CompareWithReceiver << 0 << false
                                           << "The receiver matches the database"
                                           << "";
        QTest::newRow("compare, three slots differ")
            << app::Command::CompareWithTag << 0 << false << "3 slots differ"
            << "";
        QTest::newRow("verify, all written") << app::Command::ProgramReceiver << 0 << true << ""
                                             << "Verified: the receiver matches the database";
        QTest::newRow("verify, a write dropped")
            << app::Command::ProgramReceiver << 2 << true << "1 slot differs"
            << "";
    }

    void compareAndVerify() {
        QFETCH(app::Command, command);
        QFETCH(int, droppedWrite);
        QFETCH(bool, verify);
        QFETCH(QString, summary);
        QFETCH(QString, status);
        sim::ProgrammerOptions options;
        options.dropWrite = droppedWrite;
        AppHarness h(1, options);
        if (command != app::Command::ProgramReceiver)
            fillReceiver(h, 2); // the tag stays empty, but for slot 5
        h.programmer.model().tag().setSlot(5, {"0000BEEF", "0001"});
        QFile::remove(QStringLiteral("Untitled.fxd"));
        h.w().startUp();
        h.w().runCommand(app::Command::NewDatabase);
        h.w().database().setCell(1, userdb::SerialNumber, QStringLiteral("00001001"));
        h.w().database().setCell(2, userdb::SerialNumber, QStringLiteral("00001002"));
        for (const int slot : {1, 2})
            h.w().database().setCell(slot, userdb::AuxiliaryWord, QStringLiteral("0001"));
        h.w().menuAction("mnuVerifyAfterProgramming")->setChecked(verify);
        const userdb::RecordStore before = h.w().records();

        h.w().runCommand(command);

        auto *comparison = h.w().findChild<QWidget *>("ComparisonWindow");
        const bool shown = comparison && comparison->isVisible();
        QCOMPARE(shown, !summary.isEmpty());
        if (shown)
            QCOMPARE(comparison->findChild<QLabel *>("lblSummary")->text(), summary);
        if (!status.isEmpty())
            QCOMPARE(h.w().statusText(), status);
        for (int slot = 1; slot <= 340; ++slot)
            QCOMPARE(h.w().records().record(slot), before.record(slot));
        QCOMPARE(h.w().DatabaseFilename, QStringLiteral("Untitled.fxd"));
        QVERIFY(!QFile::exists(QStringLiteral("Untitled.fxd")));
        h.w().menuAction("mnuVerifyAfterProgramming")->setChecked(false);
    }

    // Out to a spreadsheet and back, refused spreadsheets, the PDF and the printer.
    void spreadsheetsAndPaper() {
        AppHarness h(0);
        h.w().runCommand(app::Command::NewDatabase);
        h.w().database().setCell(1, userdb::SerialNumber, QStringLiteral("0000001A"));
        h.w().database().setCell(1, userdb::Surname, QStringLiteral("=Smith, Jo"));
        const userdb::RecordStore typed = h.w().records();
        const QString csv = m_dir.filePath("users.csv");
        h.documents.queueAnswer(csv);
        h.w().runCommand(app::Command::ExportCsv);
        QFile exported(csv);
        QVERIFY(exported.open(QIODevice::ReadOnly));
        QVERIFY(exported.readAll().startsWith("\xEF\xBB\xBFSlot,Serial Number"));

        QFile bad(m_dir.filePath("bad.csv"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("Surname\r\nNo serial column\r\n");
        bad.close();
        h.documents.queueAnswer(bad.fileName());
        h.w().runCommand(app::Command::ImportCsv);
        QCOMPARE(h.dialogs.messages().size(), 1);
        QCOMPARE(h.dialogs.messages().at(0).icon, MessageIcon::Critical);
        QCOMPARE(h.w().DatabaseFilename, QStringLiteral("Untitled.fxd"));

        h.w().runCommand(app::Command::NewDatabase);
        h.documents.queueAnswer(csv);
        h.w().runCommand(app::Command::ImportCsv);
        QCOMPARE(h.w().DatabaseFilename, m_dir.filePath("users.fxd"));
        QVERIFY(h.w().windowTitle().endsWith(m_dir.filePath("users.fxd")));
        QCOMPARE(h.w().records().record(1), typed.record(1));
        QCOMPARE(h.child<QLineEdit>("txtSurname")->text(), QStringLiteral("=Smith, Jo"));

        h.documents.queueAnswer(m_dir.filePath("users.pdf"));
        h.w().runCommand(app::Command::ExportPdf);
        QVERIFY(QFileInfo(m_dir.filePath("users.pdf")).size() > 0);
        QPdfWriter printer(m_dir.filePath("printed.pdf"));
        h.documents.printer = &printer;
        h.w().runCommand(app::Command::PrintUserList);
        QCOMPARE(h.documents.printRequests(), 1);
        QCOMPARE(h.dialogs.messages().size(), 1); // the refused spreadsheet's only
        QCOMPARE(h.documents.shown().at(0).proposedPath, QStringLiteral("Untitled.csv"));
    }
};

QTEST_MAIN(ToolsMenuTest)
#include "test_toolsmenu.moc"
