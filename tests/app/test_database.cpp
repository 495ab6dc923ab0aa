// The slot editor, the file commands and the Sort, Merge and bulk-fill panels as the user
// drives them.
#include "appharness.h"
#include "tests/common/datacolumns.h"

#include "app/editor/fieldinput.h"
#include "tests/common/testfiles.h"

namespace {

// Every byte from 0x20 to 0xFF that Windows-1252 defines, but the double quote that ends a field.
QByteArray everyStorableByte() {
    QByteArray bytes;
    for (int b = 0x20; b <= 0xFF; ++b)
        if (b != '"' && b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D)
            bytes += char(b);
    return bytes;
}

// The text a box holds, the address box's with its line breaks as the file stores them.
QString textOf(QWidget *box) {
    if (auto *address = qobject_cast<app::AddressEdit *>(box))
        return address->addressText();
    return qobject_cast<QLineEdit *>(box)->text();
}

} // namespace

class DatabaseTest : public InOwnFolder {
    Q_OBJECT

private slots:
    // Typing goes into the slot shown; Save As writes it; the count leaves out slots without a
    // fob. Close by the editor's exit mark hides the records but keeps them; New empties them
    // and keeps the address. The Merge panel merges a file in.
    void typeSaveCloseNewAndMerge() {
        AppHarness h(0);
        h.w().runCommand(app::Command::NewDatabase);
        QTest::keyClicks(h.child("txtRemlet"), "0000001A");
        QTest::keyClicks(h.child("txtSurname"), "Smith");
        QScrollBar *slot = h.child<QScrollBar>("hscSlot");
        slot->setValue(2);
        QTest::keyClicks(h.child("txtSurname"), "Jones");
        slot->setValue(1);
        QCOMPARE(h.child<QLineEdit>("txtSurname")->text(), "Smith");
        h.runWithFile(app::Command::SaveDatabaseAs, path("typed.fxd"));
        QCOMPARE(readFile(path("typed.fxd")),
                 "\"\"\r\n" + slotLine("0000001A", "Smith") + slotLine("", "Jones"));
        QCOMPARE(h.shownTitle(), "Corvane Systems Remlet Manager - " + path("typed.fxd"));
        h.w().database().setCell(400, userdb::SerialNumber, "0000FFFF");
        h.w().database().setCell(401, userdb::SerialNumber, "00000000");
        slot->setValue(3);
        QCOMPARE(h.child<QLabel>("lblRemletCount")->text(), "2");
        h.child<app::AddressEdit>("txtDatabaseAddress")->setPlainText("Site A");
        h.dialogs.queueAnswer(platform::Answer::Discard);
        h.child<QToolButton>("imgDatabaseExit")->click();
        QVERIFY(!h.w().isDatabaseOpen() && !h.child("fraTXUsers")->isVisibleTo(&h.w()));
        QCOMPARE(h.w().records().cell(2, userdb::Surname), "Jones");
        h.w().runCommand(app::Command::NewDatabase);
        QCOMPARE(h.w().records().cell(2, userdb::Surname), "");
        QCOMPARE(h.child<app::AddressEdit>("txtDatabaseAddress")->addressText(), "Site A");
        // The merged file becomes the database's file, and the title says so; the merged count's
        // name follows its text.
        h.w().database().setCell(1, userdb::SerialNumber, "0000000a");
        h.w().database().setCell(1, userdb::Surname, "Kept");
        h.w().database().setCell(2, userdb::SerialNumber, "0000000B");
        QVERIFY(writeFile(path("other.fxd"), "\"\"\r\n" + slotLine("0000000A") +
                                                 slotLine("0000000C") + slotLine("0000000C")));
        h.w().runCommand(app::Command::MergeDatabase);
        h.child<QCheckBox>("chkDelMissing")->setChecked(true);
        h.child<QCheckBox>("chkAddExtra")->setChecked(true);
        h.files.queueAnswer(path("other.fxd"));
        h.child<QPushButton>("cmdMergeDatabase")->click();
        QCOMPARE(h.w().records().cell(1, userdb::Surname), "Kept");
        QCOMPARE(h.w().records().cell(2, userdb::SerialNumber), "0000000C");
        QCOMPARE(readerName(h.child("Label4")), "3"); // a screen reader reads the count
        QCOMPARE(h.w().DatabaseFilename(), path("other.fxd"));
        QVERIFY(h.shownTitle().endsWith(path("other.fxd") + "*")); // merged, not saved
        QVERIFY(!h.child("fraMergeDatabase")->isVisibleTo(&h.w()));
    }

    // A file that cannot be read or written, or a cancelled dialog, leaves the open database,
    // its name, its title and the slot shown as they were; a failure names the file.
    void failuresLeaveTheOpenDatabase_data() {
        // file: chosen, and in the failure box; empty: cancelled
        addColumns<app::Command, QString, QString>("command", "file", "reason");
        using enum app::Command;
        QTest::newRow("load, cut short") << LoadDatabase << QString("cut.fxd") << "cut short";
        QTest::newRow("load, cancelled") << LoadDatabase << QString() << QString();
        QTest::newRow("save as, a folder")
            << SaveDatabaseAs << QString("folder.fxd") << "It is a folder, not a file.";
        QTest::newRow("save as, cancelled") << SaveDatabaseAs << QString() << QString();
        QTest::newRow("merge, cut short") << MergeDatabase << QString("cut.fxd") << "cut short";
    }
    void failuresLeaveTheOpenDatabase() {
        QFETCH(app::Command, command);
        QFETCH(QString, file);
        QVERIFY(writeFile("cut.fxd", "\"\"\r\n\"0000001A\",\"\",\"x\"\r\n"));
        QVERIFY(QDir().mkpath("folder.fxd"));
        const QByteArray saved =
            "\"Site A\"\r\n" + slotLine("0000001A", "Smith") + slotLine("0000001B");
        QVERIFY(writeFile(path("good.fxd"), saved));
        AppHarness h(0);
        h.load(path("good.fxd"));
        h.child<QScrollBar>("hscSlot")->setValue(2);
        h.runWithFile(command, file.isEmpty() ? std::nullopt : std::optional(file));
        if (command == app::Command::MergeDatabase) {
            h.child<QCheckBox>("chkDelMissing")->setChecked(true);
            h.child<QPushButton>("cmdMergeDatabase")->click();
        }
        const QString shown = h.dialogs.texts().join('\n');
        QCOMPARE(h.dialogs.messages().size(), file.isEmpty() ? 0 : 1);
        QFETCH(QString, reason);
        QVERIFY2(shown.contains(file) && shown.contains(reason), qPrintable(shown));
        QCOMPARE(h.w().DatabaseFilename(), path("good.fxd"));
        QCOMPARE(h.shownTitle(), "Corvane Systems Remlet Manager - " + path("good.fxd"));
        QCOMPARE(h.w().records().cell(1, userdb::Surname), "Smith");
        QCOMPARE(h.child<QLineEdit>("txtRemlet")->text(), "0000001B");
        QCOMPARE(h.child<app::AddressEdit>("txtDatabaseAddress")->addressText(), "Site A");
        QCOMPARE(readFile(path("good.fxd")), saved);
    }

    // Keys, pastes and an input method's commits pass one filter per box, and what passes
    // reaches the record. A refused key beeps.
    void whatTheBoxesTake_data() {
        // way: keys, paste or commit
        // column: of the record; 0: the address
        addColumns<QString, QString, QString, int, QString, int>("box", "way", "text", "column",
                                                                 "kept", "beeps");
        const QString ime = QStringLiteral("Caf\u00E9, \"Lune\" \u4E2D");
        using namespace userdb;
        const auto row = [](const char *name, const char *box, const char *way, const QString &text,
                            int column, const QString &kept, int beeps) {
            QTest::newRow(name) << QString(box) << QString(way) << text << column << kept << beeps;
        };
        row("serial paste", "txtRemlet", "paste", "0a1B2c3D4e5F6", SerialNumber, "01B23D45", 0);
        // Up to the limit: the keys past it are dropped without a beep.
        row("surname keys", "txtSurname", "keys", "O\"Brien, Pat" + QString(50, 'x'), Surname,
            "OBrien Pat" + QString(40, 'x'), 2);
        row("post code keys", "txtPostCode", "keys", "3a0000", PostCode, "30000", 1);
        row("Other Detail 2 keys", "txtOtherDetail2", "keys", "spare", OtherDetail2, "spare", 0);
        row("address paste", "txtDatabaseAddress", "paste", "1 Main St, \"North\"\nLevel 2", 0,
            "1 Main St North\r\nLevel 2", 0);
        row("address commit", "txtDatabaseAddress", "commit", ime, 0, "Caf\u00E9 Lune ", 1);
        // Typed as it stands, not completed to "SA".
        row("State S", "cboState", "keys", "S", State, "S", 0);
        row("State: comma, no quote", "cboState", "keys", "Nth, \"Far\"", State, "Nth, Far", 2);
    }
    void whatTheBoxesTake() {
        QFETCH(QString, box);
        QFETCH(QString, way);
        QFETCH(QString, text);
        QFETCH(int, column);
        AppHarness h(0);
        h.showNewDatabase();
        QWidget *widget = h.child(box);
        QWidget *input = box == "cboState" ? h.child<QComboBox>(box)->lineEdit() : widget;
        input->setFocus();
        if (way == "keys") {
            QTest::keyClicks(input, text);
        } else if (way == "paste") {
            QMimeData mime;
            mime.setText(text);
            if (auto *address = qobject_cast<app::AddressEdit *>(widget))
                address->insertFromMimeData(&mime);
            else
                qobject_cast<QLineEdit *>(widget)->insert(text);
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(text);
            QApplication::sendEvent(input, &commit);
        }
        h.child("txtSuburb")->setFocus(); // leaving the box changes nothing either
        QTEST(textOf(input), "kept");     // the State box's own line edit
        QTEST(column > 0 ? h.w().records().cell(1, column) : textOf(input), "kept");
        QTEST(h.dialogs.beeps(), "beeps");
    }

    // Showing the slots (2, then 1) writes their text back unchanged, and saving gives the
    // loaded bytes back; a lone LF in the address becomes CR LF.
    void loadThenSaveKeepsEveryByte() {
        const QByteArray field = everyStorableByte() + QByteArray(40000, 'L');
        auto line = [&](const QByteArray &serial) {
            return "\"" + serial + "\",\"A\xA0\x80\",\"" + field + "\",\"" + field +
                   "\",\"\",\"\",\"\",\"" + field + "\",\"\",\"\",\"\",\"\",\"" + field + "\"\r\n";
        };
        const QByteArray records = line("0000001A") + line("0000001B");
        const QByteArray address = "12 High St\r\nCarlton\n" + everyStorableByte();
        QVERIFY(writeFile(path("bytes.fxd"), "\"" + address + "\"\r\n" + records));
        AppHarness h(0);
        h.load(path("bytes.fxd"));
        h.child<QScrollBar>("hscSlot")->setValue(2);
        h.child<QScrollBar>("hscSlot")->setValue(1);
        h.w().runCommand(app::Command::SaveDatabase);
        QCOMPARE(readFile(path("bytes.fxd")),
                 "\"12 High St\r\nCarlton\r\n" + everyStorableByte() + "\"\r\n" + records);
    }

    // A short serial is kept but warned about once the box is left, by another box, by the
    // scroll bar (which takes no focus) or by a button that sorts: the check is for the slot
    // being edited, before the slot changes or the sort runs. The box then has the focus
    // again.
    void serialCheckRunsForTheSlotBeingLeft_data() {
        // slotOfC: the slot edited, after the click
        addColumns<QString, int, int>("by", "slotOfC", "shown");
        QTest::newRow("another box") << "box" << 1 << 1;
        QTest::newRow("scroll bar") << "scroll bar" << 1 << 2;
        QTest::newRow("Sort button") << "sort" << 3 << 1;
    }
    void serialCheckRunsForTheSlotBeingLeft() {
        QFETCH(QString, by);
        AppHarness h(0);
        h.w().runCommand(app::Command::NewDatabase);
        // Slot 1 (surname C) is edited; sorting by surname moves it to slot 3.
        for (int slot = 1; slot <= 3; ++slot) {
            h.w().database().setCell(slot, userdb::Surname, QString("CAB").at(slot - 1));
            h.w().database().setCell(slot, userdb::SerialNumber, QString("0000000%1").arg(slot));
        }
        h.w().runCommand(app::Command::SortDatabase);
        h.w().show();
        QVERIFY(QTest::qWaitForWindowActive(&h.w()));
        QLineEdit *serial = h.child<QLineEdit>("txtRemlet");
        serial->setFocus();
        serial->clear();
        QTest::keyClicks(serial, "12");
        QScrollBar *slotBar = h.child<QScrollBar>("hscSlot");
        if (by == "sort")
            QTest::mouseClick(h.child("cmdSortNow"), Qt::LeftButton);
        else if (by == "scroll bar")
            QTest::mouseClick(slotBar, Qt::LeftButton, {}, QPoint(slotBar->width() - 4, 4));
        else
            h.child("txtSurname")->setFocus();
        QTRY_COMPARE(h.dialogs.texts(), QStringList{"Remlet serial number too short.\nPlease enter "
                                                    "a full 8 digit hexadecimal serial number or "
                                                    "delete all numbers."});
        QTRY_COMPARE(QApplication::focusWidget(), serial);
        QFETCH(int, slotOfC);
        QCOMPARE(h.w().records().cell(slotOfC, userdb::Surname), "C");
        QCOMPARE(h.w().records().cell(slotOfC, userdb::SerialNumber), "12");
        QTEST(h.w().EditSlotNumber(), "shown"); // the click did what it was for
        serial->clear();                        // an empty serial is no mistake
        h.child("txtSurname")->setFocus();
        QCoreApplication::processEvents();
        QCOMPARE(h.dialogs.messages().size(), 1);
    }

    // Destroying a shown window whose box holds the focus touches no destroyed record: leaving
    // a box writes into the store (the sanitizer build reports any such write).
    void destroyingAShownWindowWithFocusInABox() {
        for (const char *box : {"txtRemlet", "cboState"}) {
            AppHarness h(0);
            h.showNewDatabase();
            h.child(box)->setFocus();
            QTest::keyClicks(QApplication::focusWidget(), "vic");
            h.window.reset();
        }
    }

    void sortAndBulkFillFromTheirPanels() {
        AppHarness h(0);
        h.w().runCommand(app::Command::NewDatabase);
        const QStringList serials{"0000000C", "", "0000000A", "0000000B"};
        for (int slot = 1; slot <= 4; ++slot)
            h.w().database().setCell(slot, userdb::SerialNumber, serials.at(slot - 1));
        h.child<QScrollBar>("hscSlot")->setValue(4);
        h.w().runCommand(app::Command::SortDatabase);
        h.child<QRadioButton>("optSerialNumber")->click();
        // A command waiting in the event loop (a read, say) cannot run inside the sort and be
        // overwritten by its copy back: it runs after it.
        QTimer::singleShot(0, &h.w(),
                           [&] { h.w().database().setCell(5, userdb::SerialNumber, "FFFFFFFF"); });
        h.child<QPushButton>("cmdSortNow")->click();
        QCoreApplication::processEvents();
        QCOMPARE(h.w().records().cell(5, userdb::SerialNumber), "FFFFFFFF");
        QCOMPARE(h.child<QLineEdit>("txtRemlet")->text(), "0000000A"); // slot 1 shown
        QVERIFY(!h.child("fraSort")->isVisibleTo(&h.w()) && h.child("fraTXUsers")->isEnabled());
        QVERIFY(!h.child("prbDownload")->isVisibleTo(&h.w())); // the sort's progress

        // A bulk fill's refusal is a box and changes nothing; a fill shows the last slot filled.
        h.w().database().setCell(2, userdb::Surname, "Owner");
        h.child<QLineEdit>("txtSerialStart")->setText("1A");
        h.child<QLineEdit>("txtNumberFill")->setText("341"); // more than the editor's 340 slots
        h.child<QPushButton>("cmdBulk")->click();
        QCOMPARE(h.dialogs.messages().size(), 1);
        QCOMPARE(h.w().records().cell(1, userdb::SerialNumber), "0000000A");
        h.child<QLineEdit>("txtNumberFill")->setText("3");
        h.child<QPushButton>("cmdBulk")->click();
        QCOMPARE(h.dialogs.messages().size(), 1);
        QCOMPARE(h.child<QLineEdit>("txtRemlet")->text(), "0000001C");
        QCOMPARE(h.w().records().cell(1, userdb::SerialNumber), "0000001A");
        QCOMPARE(h.w().records().cell(2, userdb::Surname), "Owner");
    }
};

QTEST_MAIN(DatabaseTest)
#include "test_database.moc"
