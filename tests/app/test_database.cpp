// The slot editor and the file commands as the user drives them.
#include "appharness.h"

#include "app/editor/fieldinput.h"
#include "userdb/databasefile.h"

#include <QComboBox>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using platform::MessageIcon;

namespace {

QByteArray slotLine(const QByteArray &serial, const QByteArray &surname = {}) {
    return "\"" + serial + "\",\"\",\"" + surname +
           "\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n";
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Every byte from 0x20 to 0xFF that Windows-1252 defines, but the double quote that ends a field.
QByteArray everyStorableByte() {
    QByteArray bytes;
    for (int b = 0x20; b <= 0xFF; ++b)
        if (b != '"' && b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D)
            bytes += char(b);
    return bytes;
}

} // namespace

class DatabaseTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

    // A window with a database loaded from `name`: slot 1 "0000001A" Smith, slot 2 "0000001B".
    void openSample(AppHarness &h, const QString &name) {
        writeFile(path(name),
                  "\"Site A\"\r\n" + slotLine("0000001A", "Smith") + slotLine("0000001B"));
        h.files.queueAnswer(path(name));
        h.w().runCommand(app::Command::LoadDatabase);
        QCOMPARE(h.dialogs.messages().size(), 0);
    }

    static QLineEdit *field(AppHarness &h, const char *name) {
        return h.w().findChild<QLineEdit *>(QLatin1String(name));
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir::setCurrent(m_dir.path()));
    }

    void newThenSaveWritesTheHeaderOnly() {
        AppHarness h(0);
        h.w().runCommand(app::Command::NewDatabase);
        QCOMPARE(h.w().windowTitle(),
                 QStringLiteral("Corvane Systems Remlet Manager - Untitled.fxd"));
        h.w().runCommand(app::Command::SaveDatabase);
        QCOMPARE(readFile(path("Untitled.fxd")), QByteArray("\"\"\r\n"));
    }

    void typedRecordIsSavedAndLoadedBack() {
        AppHarness h(0);
        h.w().runCommand(app::Command::NewDatabase);
        QTest::keyClicks(h.child<QLineEdit>("txtRemlet"), "0000001A");
        QTest::keyClicks(field(h, "txtSurname"), "Smith");
        h.files.queueAnswer(path("typed.fxd"));
        h.w().runCommand(app::Command::SaveDatabaseAs);
        QCOMPARE(readFile(path("typed.fxd")), "\"\"\r\n" + slotLine("0000001A", "Smith"));
        QCOMPARE(h.w().windowTitle(),
                 QStringLiteral("Corvane Systems Remlet Manager - ") + path("typed.fxd"));
    }

    void loadFailuresLeaveTheOpenDatabaseAlone_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty") << QByteArray() << QStringLiteral("empty");
        QTest::newRow("cut short")
            << QByteArray("\"\"\r\n\"0000001A\",\"\",\"x\"\r\n") << QStringLiteral("cut short");
        QByteArray tooMany = "\"\"\r\n";
        for (int i = 0; i < 4096; ++i)
            tooMany += slotLine("00000001");
        QTest::newRow("too many records") << tooMany << QStringLiteral("more than 4095");
        QTest::newRow("missing file") << QByteArray("<none>") << QStringLiteral("No such file");
#ifdef Q_OS_UNIX
        QTest::newRow("a pipe (would freeze the window)")
            << QByteArray("<pipe>") << QStringLiteral("not a regular file");
#endif
    }

    void loadFailuresLeaveTheOpenDatabaseAlone() {
        QFETCH(QByteArray, contents);
        QFETCH(QString, reason);
        AppHarness h(0);
        openSample(h, QStringLiteral("good.fxd"));
        h.w().hscSlot_Change(2);
        const QString title = h.w().windowTitle();
        const QString bad = path(QStringLiteral("bad.fxd"));
        QFile::remove(bad);
#ifdef Q_OS_UNIX
        if (contents == "<pipe>")
            QCOMPARE(mkfifo(QFile::encodeName(bad).constData(), 0600), 0);
#endif
        if (!contents.startsWith('<'))
            writeFile(bad, contents);

        h.files.queueAnswer(bad);
        h.w().runCommand(app::Command::LoadDatabase);

        QCOMPARE(h.dialogs.messages().size(), 1);
        QCOMPARE(h.dialogs.messages().at(0).icon, MessageIcon::Critical);
        QVERIFY2(h.dialogs.messages().at(0).text.contains(bad),
                 qPrintable(h.dialogs.texts().at(0)));
        QVERIFY2(h.dialogs.messages().at(0).text.contains(reason),
                 qPrintable(h.dialogs.texts().at(0)));
        QCOMPARE(h.w().DatabaseFilename, path("good.fxd"));
        QCOMPARE(h.w().windowTitle(), title);
        QCOMPARE(h.w().records().cell(1, userdb::Surname), QStringLiteral("Smith"));
        QCOMPARE(h.w().EditSlotNumber, 2);
        QCOMPARE(h.child<QLineEdit>("txtRemlet")->text(), QStringLiteral("0000001B"));
        QCOMPARE(h.child<app::AddressEdit>("txtDatabaseAddress")->toPlainText(),
                 QStringLiteral("Site A"));
    }

    void cancelledDialogsChangeNothing() {
        AppHarness h(0);
        openSample(h, QStringLiteral("cancel.fxd"));
        h.files.queueAnswer(std::nullopt);
        h.w().runCommand(app::Command::LoadDatabase);
        h.files.queueAnswer(std::nullopt);
        h.w().runCommand(app::Command::SaveDatabaseAs);
        QCOMPARE(h.files.shown().size(), 3);
        QCOMPARE(h.dialogs.messages().size(), 0);
        QCOMPARE(h.w().DatabaseFilename, path("cancel.fxd"));
        QCOMPARE(h.w().records().cell(1, userdb::SerialNumber), QStringLiteral("0000001A"));
    }

    void failedSaveIsReportedAndKeepsTheDatabase() {
        AppHarness h(0);
        openSample(h, QStringLiteral("keep.fxd"));
        const QByteArray before = readFile(path("keep.fxd"));
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder.fxd")));
        for (const QString &target : {path("no/such/folder/x.fxd"), path("folder.fxd")}) {
            h.dialogs.clear();
            h.files.queueAnswer(target);
            h.w().runCommand(app::Command::SaveDatabaseAs);
            QCOMPARE(h.dialogs.messages().size(), 1);
            QCOMPARE(h.dialogs.messages().at(0).icon, MessageIcon::Critical);
            QVERIFY(h.dialogs.messages().at(0).text.contains(target));
            QCOMPARE(h.w().DatabaseFilename, path("keep.fxd"));
            QVERIFY(h.w().windowTitle().endsWith(path("keep.fxd")));
        }
        QCOMPARE(readFile(path("keep.fxd")), before);
        QVERIFY(h.w().isDatabaseOpen());
    }

    void keyFiltersAndLengthLimits() {
        AppHarness h(0);
        h.w().runCommand(app::Command::NewDatabase);
        QLineEdit *serial = h.child<QLineEdit>("txtRemlet");
        QTest::keyClicks(serial, "12ab");
        QCOMPARE(serial->text(), QStringLiteral("12"));
        QCOMPARE(h.w().records().cell(1, userdb::SerialNumber), QStringLiteral("12"));
        QCOMPARE(h.dialogs.beeps(), 2);

        QLineEdit *surname = field(h, "txtSurname");
        QTest::keyClicks(surname, "O\"Brien, Pat");
        QCOMPARE(surname->text(), QStringLiteral("OBrien Pat"));
        surname->clear();
        QTest::keyClicks(surname, QString(60, QLatin1Char('x')));
        QCOMPARE(surname->text().size(), 50);

        QLineEdit *postCode = field(h, "txtPostCode");
        QTest::keyClicks(postCode, "3a0000");
        QCOMPARE(postCode->text(), QStringLiteral("30000"));
    }

    void pastedTextPassesTheSameFilter() {
        AppHarness h(0);
        h.w().runCommand(app::Command::NewDatabase);
        QLineEdit *surname = field(h, "txtSurname");
        surname->insert(QStringLiteral("Jones, \"Bob\" \u4E2D"));
        QCOMPARE(surname->text(), QStringLiteral("Jones Bob "));
        surname->selectAll(); // pasted over a longer selection
        surname->insert(QStringLiteral("A,\"B\",C"));
        QCOMPARE(surname->text(), QStringLiteral("ABC"));
        QLineEdit *serial = h.child<QLineEdit>("txtRemlet");
        serial->insert(QStringLiteral("0a1B2c3D4e5F6"));
        QCOMPARE(serial->text(), QStringLiteral("01B23D45"));
        auto *address = h.child<app::AddressEdit>("txtDatabaseAddress");
        QMimeData mime;
        mime.setText(QStringLiteral("1 Main St, \"North\"\nLevel 2"));
        address->insertFromMimeData(&mime);
        QCOMPARE(address->toPlainText(), QStringLiteral("1 Main St North\nLevel 2"));
    }

    void textFromAFileIsShownAndKeptWhole() {
        AppHarness h(0);
        const QByteArray longName(60, 'L');
        writeFile(path("long.fxd"), "\"\"\r\n\"0000001A\",\"\",\"" + longName +
                                        "\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n");
        h.files.queueAnswer(path("long.fxd"));
        h.w().runCommand(app::Command::LoadDatabase);
        QCOMPARE(field(h, "txtSurname")->text(), QString::fromLatin1(longName));
        QCOMPARE(h.w().records().cell(1, userdb::Surname), QString::fromLatin1(longName));
    }

    // Showing the slots (1, then 2 and back) and saving gives the loaded bytes back.
    void loadThenSaveKeepsEveryByte_data() {
        QTest::addColumn<QByteArray>("address");
        QTest::addColumn<QByteArray>("field"); // the surname of slots 1 and 2
        QTest::addColumn<QByteArray>("savedAddress");
        QTest::newRow("CR LF address") << QByteArray("12 High St\r\nCarlton") << QByteArray("x")
                                       << QByteArray("12 High St\r\nCarlton");
        QTest::newRow("lone LF address becomes CR LF")
            << QByteArray("a\nb\r\n") << QByteArray("x") << QByteArray("a\r\nb\r\n");
        QTest::newRow("no-break spaces") << QByteArray("a\xA0\xA0"
                                                       "z")
                                         << QByteArray("b\xA0"
                                                       "c")
                                         << QByteArray("a\xA0\xA0"
                                                       "z");
        QTest::newRow("40,000 characters")
            << QByteArray("s") << QByteArray(40000, 'L') << QByteArray("s");
        QTest::newRow("every storable byte")
            << everyStorableByte() << everyStorableByte() << everyStorableByte();
    }

    void loadThenSaveKeepsEveryByte() {
        QFETCH(QByteArray, address);
        QFETCH(QByteArray, field);
        QFETCH(QByteArray, savedAddress);
        auto line = [&](const QByteArray &serial) {
            return "\"" + serial + "\",\"A\xA0\x80\",\"" + field + "\",\"" + field +
                   "\",\"\",\"\",\"\",\"" + field + "\",\"\",\"\",\"\",\"\",\"" + field + "\"\r\n";
        };
        const QByteArray records = line("0000001A") + line("0000001B");
        writeFile(path("bytes.fxd"), "\"" + address + "\"\r\n" + records);
        AppHarness h(0);
        h.files.queueAnswer(path("bytes.fxd"));
        h.w().runCommand(app::Command::LoadDatabase);
        h.child<QScrollBar>("hscSlot")->setValue(2);
        h.child<QScrollBar>("hscSlot")->setValue(1);
        h.w().runCommand(app::Command::SaveDatabase);
        QCOMPARE(h.dialogs.messages().size(), 0);
        QCOMPARE(readFile(path("bytes.fxd")), "\"" + savedAddress + "\"\r\n" + records);
    }

    void typedAddressIsSavedWithCrLf() {
        AppHarness h(0);
        h.w().runCommand(app::Command::NewDatabase);
        auto *address = h.child<app::AddressEdit>("txtDatabaseAddress");
        QTest::keyClicks(address, "12 High St,");
        QTest::keyClick(address, Qt::Key_Return);
        QTest::keyClicks(address, "Carlton");
        QMimeData pasted;
        pasted.setText(QStringLiteral("\nVIC\u00A0 3053"));
        address->insertFromMimeData(&pasted);
        h.w().runCommand(app::Command::SaveDatabase);
        QCOMPARE(readFile(path("Untitled.fxd")),
                 QByteArray("\"12 High St\r\nCarlton\r\nVIC\xA0 3053\"\r\n"));
    }

    // An input method's commit passes the same filter as keys and pastes.
    void inputMethodCommitIsFiltered() {
        AppHarness h(0);
        h.w().runCommand(app::Command::NewDatabase);
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("Caf\u00E9, \"Lune\" \u4E2D"));
        QApplication::sendEvent(h.child<app::AddressEdit>("txtDatabaseAddress"), &commit);
        QApplication::sendEvent(field(h, "txtSurname"), &commit);
        QCOMPARE(h.child<app::AddressEdit>("txtDatabaseAddress")->addressText(),
                 QStringLiteral("Caf\u00E9 Lune "));
        QCOMPARE(h.w().records().cell(1, userdb::Surname), QStringLiteral("Caf\u00E9 Lune "));
    }

    void tabLeavesTheAddressBox() {
        AppHarness h(0);
        h.w().runCommand(app::Command::NewDatabase);
        h.w().show();
        QVERIFY(QTest::qWaitForWindowActive(&h.w()));
        auto *address = h.child<app::AddressEdit>("txtDatabaseAddress");
        address->setFocus();
        QTest::keyClick(address, Qt::Key_Tab);
        QVERIFY(!address->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QVERIFY(address->hasFocus());
        QCOMPARE(address->addressText(), QString());
    }

    void stateListAndTypedState_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("S is not completed") << "S"
                                            << "S";
        QTest::newRow("nsw is not matched") << "nsw"
                                            << "nsw";
        QTest::newRow("comma allowed, quote not") << "North, \"Far\""
                                                  << "North, Far";
    }

    void stateListAndTypedState() {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        AppHarness h(0);
        h.w().runCommand(app::Command::NewDatabase);
        h.w().show();
        QVERIFY(QTest::qWaitForWindowActive(&h.w()));
        QComboBox *state = h.child<QComboBox>("cboState");
        state->setCurrentIndex(state->findText(QStringLiteral("VIC")));
        QCOMPARE(h.w().records().cell(1, userdb::State), QStringLiteral("VIC"));
        state->lineEdit()->clear();
        state->setFocus();
        QTest::keyClicks(state->lineEdit(), typed);
        field(h, "txtSurname")->setFocus(); // leaving the box must not change it either
        QCOMPARE(h.w().records().cell(1, userdb::State), stored);
    }

    void slotChangesShowEachRecordAsTyped() {
        AppHarness h(0);
        h.w().runCommand(app::Command::NewDatabase);
        h.w().database().setCell(1, userdb::AuxiliaryWord, QStringLiteral("AB12"));
        QTest::keyClicks(h.child<QLineEdit>("txtRemlet"), "0000001A");
        QTest::keyClicks(field(h, "txtSuburb"), "Carlton");
        QScrollBar *slot = h.child<QScrollBar>("hscSlot");
        slot->setValue(2);
        QCOMPARE(h.w().EditSlotNumber, 2);
        QCOMPARE(h.child<QLabel>("lblUserSlot")->text(), QStringLiteral("2"));
        QCOMPARE(field(h, "txtSuburb")->text(), QString());
        QTest::keyClicks(field(h, "txtSuburb"), "Fitzroy");
        slot->setValue(1);
        QCOMPARE(h.child<QLineEdit>("txtRemlet")->text(), QStringLiteral("0000001A"));
        QCOMPARE(field(h, "txtSuburb")->text(), QStringLiteral("Carlton"));
        QCOMPARE(h.w().records().cell(2, userdb::Suburb), QStringLiteral("Fitzroy"));
        QCOMPARE(h.w().records().cell(1, userdb::AuxiliaryWord), QStringLiteral("AB12"));
        QCOMPARE(h.child<QLabel>("lblRemletCount")->text(), QStringLiteral("1"));

        h.w().database().setCell(400, userdb::SerialNumber, QStringLiteral("0000FFFF"));
        h.w().database().setCell(401, userdb::SerialNumber, QStringLiteral("00000000"));
        slot->setValue(3);
        QCOMPARE(h.child<QLabel>("lblRemletCount")->text(), QStringLiteral("2"));
    }

    // The box is left by the scroll bar (which takes no focus) or by a button that sorts: the
    // check is for the slot being edited, before the slot changes or the sort runs.
    void serialCheckRunsForTheSlotBeingLeft_data() {
        QTest::addColumn<bool>("bySort");
        QTest::newRow("scroll bar") << false;
        QTest::newRow("Sort button") << true;
    }

    void serialCheckRunsForTheSlotBeingLeft() {
        QFETCH(bool, bySort);
        AppHarness h(0);
        h.w().runCommand(app::Command::NewDatabase);
        // Slot 1 (surname C) is edited; sorting by surname moves it to slot 3.
        const QStringList surnames{"C", "A", "B"};
        for (int slot = 1; slot <= 3; ++slot) {
            h.w().database().setCell(slot, userdb::Surname, surnames.at(slot - 1));
            h.w().database().setCell(slot, userdb::SerialNumber,
                                     QStringLiteral("0000000%1").arg(slot));
        }
        h.w().runCommand(app::Command::SortDatabase);
        h.w().show();
        QVERIFY(QTest::qWaitForWindowActive(&h.w()));
        QLineEdit *serial = h.child<QLineEdit>("txtRemlet");
        serial->setFocus();
        serial->clear();
        QTest::keyClicks(serial, "12");
        QScrollBar *slotBar = h.child<QScrollBar>("hscSlot");
        if (bySort)
            QTest::mouseClick(h.w().findChild<QPushButton *>(QStringLiteral("cmdSortNow")),
                              Qt::LeftButton);
        else
            QTest::mouseClick(slotBar, Qt::LeftButton, {}, QPoint(slotBar->width() - 4, 4));
        QTRY_COMPARE(h.dialogs.messages().size(), 1);
        QCOMPARE(h.dialogs.messages().at(0).icon, MessageIcon::Critical);
        const int slotOfC = bySort ? 3 : 1;
        QCOMPARE(h.w().records().cell(slotOfC, userdb::Surname), QStringLiteral("C"));
        QCOMPARE(h.w().records().cell(slotOfC, userdb::SerialNumber), QStringLiteral("12"));
        QCOMPARE(h.w().EditSlotNumber, bySort ? 1 : 2); // the click did what it was for
    }

    // Destroying a shown window whose box holds the focus touches no destroyed record: leaving
    // a box writes into the store.
    void destroyingAShownWindowWithFocusInABox_data() {
        QTest::addColumn<QString>("box");
        QTest::newRow("serial") << "txtRemlet";
        QTest::newRow("State") << "cboState";
    }

    void destroyingAShownWindowWithFocusInABox() {
        QFETCH(QString, box);
        AppHarness h(0);
        h.w().runCommand(app::Command::NewDatabase);
        h.w().show();
        QVERIFY(QTest::qWaitForWindowActive(&h.w()));
        auto *widget = h.w().findChild<QWidget *>(box);
        widget->setFocus();
        QTest::keyClicks(QApplication::focusWidget(), "vic");
        h.window.reset(); // the sanitizer build reports any write into the destroyed store
        QVERIFY(!h.window);
    }

    void serialCheckWarnsAndKeepsTheFocus() {
        AppHarness h(0);
        h.w().runCommand(app::Command::NewDatabase);
        h.w().show();
        QVERIFY(QTest::qWaitForWindowActive(&h.w()));
        QLineEdit *serial = h.child<QLineEdit>("txtRemlet");
        serial->setFocus();
        QTest::keyClicks(serial, "12");
        field(h, "txtSurname")->setFocus();
        QTRY_COMPARE(h.dialogs.messages().size(), 1);
        QCOMPARE(h.dialogs.texts().at(0),
                 QStringLiteral("Remlet serial number too short.\nPlease enter a full 8 digit "
                                "hexadecimal serial number or delete all numbers."));
        QCOMPARE(h.dialogs.messages().at(0).icon, MessageIcon::Critical);
        QCOMPARE(h.dialogs.messages().at(0).caption, QStringLiteral("RemletManager"));
        QTRY_COMPARE(QApplication::focusWidget(), serial);
        QCOMPARE(h.w().records().cell(1, userdb::SerialNumber), QStringLiteral("12"));

        serial->clear();
        field(h, "txtSurname")->setFocus();
        QTest::qWait(20);
        QCOMPARE(h.dialogs.messages().size(), 1);
    }

    void closeKeepsTheStoreAndNewEmptiesIt() {
        AppHarness h(0);
        openSample(h, QStringLiteral("close.fxd"));
        auto *exit = h.child<QToolButton>("imgDatabaseExit");
        exit->click();
        QVERIFY(!h.w().isDatabaseOpen());
        QVERIFY(!h.child("fraTXUsers")->isVisibleTo(&h.w()));
        QCOMPARE(h.w().windowTitle(), QStringLiteral("Corvane Systems Remlet Manager"));
        QCOMPARE(h.w().records().cell(1, userdb::Surname), QStringLiteral("Smith"));
        h.w().runCommand(app::Command::NewDatabase);
        QCOMPARE(h.w().Remlet_Count(), 0);
        QCOMPARE(h.child<app::AddressEdit>("txtDatabaseAddress")->toPlainText(),
                 QStringLiteral("Site A"));
    }
};

QTEST_MAIN(DatabaseTest)
#include "test_database.moc"
