// Read, program, clear, copy and capture as the user runs them, against the simulated
// programmer in-process on the fake clock.
#include "appharness.h"

#include "userdb/databasefile.h"

#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using platform::MessageIcon;
using Action = std::function<void(AppHarness &)>;

namespace {

Action menu(const char *name) {
    return [=](AppHarness &h) { h.w().menuAction(QLatin1String(name))->trigger(); };
}
Action toolbar(const char *key) {
    return [=](AppHarness &h) { h.w().Toolbar1_ButtonClick(QLatin1String(key)); };
}
Action click(const char *name) {
    return [=](AppHarness &h) { h.w().findChild<QAbstractButton *>(QLatin1String(name))->click(); };
}

} // namespace

class TransfersTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    // Loads a database file whose records hold `values` (serial number, auxiliary word).
    static QString loadFile(AppHarness &h, const QList<QPair<QString, QString>> &values) {
        userdb::RecordStore store;
        for (int slot = 1; slot <= values.size(); ++slot) {
            store.setCell(slot, userdb::SerialNumber, values[slot - 1].first);
            store.setCell(slot, userdb::AuxiliaryWord, values[slot - 1].second);
        }
        const QString path = QDir::current().filePath(QStringLiteral("site.fxd"));
        if (!userdb::saveDatabaseFile(path, QStringLiteral("Site"), store).isEmpty())
            return {};
        h.files.queueAnswer(path);
        h.w().runCommand(app::Command::LoadDatabase);
        return path;
    }

    static void fillMemory(sim::SlotMemory &memory, int count) {
        for (int slot = 1; slot <= count; ++slot)
            memory.setSlot(slot,
                           {QByteArray::number(0x1000 + slot, 16).rightJustified(8, '0').toUpper(),
                            QByteArray::number(slot).rightJustified(4, '0')});
    }

private slots:
    void initTestCase() { QVERIFY(QDir::setCurrent(m_dir.path())); }
    void init() { QFile::remove(QStringLiteral("Untitled.fxd")); }

    void readReceiverFillsSavesAndShowsSlotOne() {
        AppHarness h(1);
        fillMemory(h.programmer.model().receiver(), 3);
        h.w().startUp();
        h.w().runCommand(app::Command::ReadReceiver);
        QCOMPARE(h.commandsSent().last(), QByteArray("D"));
        QCOMPARE(h.w().records().cell(3, userdb::SerialNumber), QStringLiteral("00001003"));
        QCOMPARE(h.w().records().cell(3, userdb::AuxiliaryWord), QStringLiteral("0003"));
        QCOMPARE(h.w().Remlet_Count(), 3);
        QCOMPARE(h.child<QLineEdit>("txtRemlet")->text(), QStringLiteral("00001001"));
        QVERIFY(h.child("fraTXUsers")->isEnabled());
        QVERIFY(h.w().isDatabaseOpen());
        QVERIFY(
            !h.w().findChild<QProgressBar *>(QStringLiteral("prbDownload"))->isVisibleTo(&h.w()));
        QFile saved(QStringLiteral("Untitled.fxd"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll().contains("\"00001002\",\"0002\""));
        QCOMPARE(h.dialogs.messages().size(), 2); // the size messages of start-up only
    }

    // A read that does not end well changes nothing: the open database, its file name, the
    // title and Untitled.fxd stay as they were.
    void readErrorShowsItsMessageAndSavesNothing_data() {
        QTest::addColumn<int>("readErrorAt");
        QTest::addColumn<bool>("mute");
        QTest::newRow("read error at slot 1") << 1 << false;
        QTest::newRow("mute programmer") << 0 << true;
    }
    void readErrorShowsItsMessageAndSavesNothing() {
        QFETCH(int, readErrorAt);
        QFETCH(bool, mute);
        sim::ProgrammerOptions options;
        options.readErrorAt = readErrorAt;
        AppHarness h(1, options);
        h.w().startUp();
        const QString path = loadFile(h, {{"0000BEEF", "AB12"}});
        const QString title = h.w().windowTitle();
        if (mute)
            h.port.addPort(1); // the port stays, nothing answers on it
        h.w().runCommand(app::Command::ReadTag);
        QCOMPARE(h.commandsSent().last(), QByteArray("C"));
        QCOMPARE(h.dialogs.texts().last(),
                 QStringLiteral("Communications error with reciever, please try again"));
        QCOMPARE(h.dialogs.messages().last().icon, MessageIcon::Critical);
        QVERIFY(!QFile::exists(QStringLiteral("Untitled.fxd")));
        QVERIFY(h.child("fraTXUsers")->isEnabled());
        QVERIFY(!h.port.isOpen());
        QCOMPARE(h.w().records().cell(1, userdb::SerialNumber), QStringLiteral("0000BEEF"));
        QCOMPARE(h.w().Remlet_Count(), 1);
        QCOMPARE(h.w().DatabaseFilename, path);
        QCOMPARE(h.w().windowTitle(), title);
    }

    // Bytes 0x80 to 0x9F read from a device go back to it as they came.
    void highBytesGoBackAsTheyCame() {
        AppHarness h(1);
        sim::SlotMemory &receiver = h.programmer.model().receiver();
        for (int slot = 1; slot <= 8; ++slot) {
            QByteArray auxiliary;
            for (int i = 0; i < 4; ++i)
                auxiliary += char(0x80 + (slot - 1) * 4 + i);
            receiver.setSlot(slot,
                             {QByteArray::number(0xA0 + slot).rightJustified(8, '0'), auxiliary});
        }
        const sim::SlotMemory original = receiver;
        h.w().startUp();
        h.w().runCommand(app::Command::ReadReceiver);
        receiver.clear();
        h.w().runCommand(app::Command::ProgramReceiver);
        QCOMPARE(h.dialogs.texts().last(), QStringLiteral("Data downloaded OK"));
        QCOMPARE(receiver, original);
    }

    // A file whose values would run as commands of their own sends nothing at all.
    void programRefusesValuesThatWouldRunAsCommands() {
        AppHarness h(1);
        h.w().startUp();
        loadFile(h, {{"0000001A,0000\rK\r", "0000"},
                     {"0000001B", ""},
                     {"0000001C", "A\x01"
                                  "BC"}});
        h.dialogs.clear();
        h.port.clearLog();
        h.w().runCommand(app::Command::ProgramReceiver);
        QCOMPARE(h.dialogs.texts(),
                 QStringList{"Slot 1: the serial number holds characters that cannot be sent to "
                             "the programmer\nSlot 3: the auxiliary word holds characters that "
                             "cannot be sent to the programmer"});
        QCOMPARE(h.dialogs.messages().at(0).icon, MessageIcon::Critical);
        QCOMPARE(h.dialogs.messages().at(0).caption, QStringLiteral("RemletManager"));
        QVERIFY(h.port.operations().isEmpty());
    }

    // While a read or a program waits for the programmer, nothing may replace, reorder or
    // rename the records it works on, from a menu, the toolbar or a panel. Typing may go on.
    void databaseCommandsWaitForATransfer_data() {
        QTest::addColumn<app::Command>("transfer");
        QTest::addColumn<Action>("action");
        QTest::addColumn<bool>("refused");
        const QList<std::pair<const char *, Action>> actions{
            {"New from the menu", menu("mnuNewDatabase")},
            {"Load from the toolbar", toolbar("Open")},
            {"Save As from the menu", menu("mnuSaveDatabaseAs")},
            {"Close from the menu", menu("mnuCloseDatabase")},
            {"Sort from the menu bar", menu("mnuSortDatabase")},
            {"Merge from the toolbar", toolbar("Merge3")},
            {"Sort button", click("cmdSortNow")},
            {"Merge button", click("cmdMergeDatabase")},
            {"Bulk Validate button", click("cmdBulk")},
        };
        for (const auto &[name, action] : actions) {
            QTest::addRow("Read, %s", name) << app::Command::ReadReceiver << action << true;
            QTest::addRow("Program, %s", name) << app::Command::ProgramReceiver << action << true;
        }
        // The editor is disabled during a read, so its exit mark is tried during a program only.
        QTest::newRow("Program, Close by the exit mark")
            << app::Command::ProgramReceiver << click("imgDatabaseExit") << true;
        QTest::newRow("Program, typing a surname")
            << app::Command::ProgramReceiver << Action([](AppHarness &h) {
                   QTest::keyClicks(h.w().findChild<QLineEdit *>("txtSurname"), "x");
               })
            << false;
    }

    void databaseCommandsWaitForATransfer() {
        QFETCH(app::Command, transfer);
        QFETCH(Action, action);
        QFETCH(bool, refused);
        AppHarness h(1);
        fillMemory(h.programmer.model().receiver(), 3);
        h.w().startUp();
        h.w().runCommand(app::Command::NewDatabase);
        h.w().database().setCell(1, userdb::SerialNumber, QStringLiteral("0000ABCD"));
        h.w().database().setCell(2, userdb::Surname, QStringLiteral("Owner"));
        h.w().findChild<QLineEdit *>("txtSerialStart")->setText(QStringLiteral("1"));
        h.w().findChild<QLineEdit *>("txtNumberFill")->setText(QStringLiteral("2"));
        h.timeline.after(0.5, [&] { action(h); });

        h.w().runCommand(transfer);

        QCOMPARE(h.dialogs.beeps(), refused ? 1 : 0);
        QVERIFY(h.files.shown().isEmpty());
        QVERIFY(h.w().isDatabaseOpen());
        QVERIFY(!h.w().findChild<QGroupBox *>("fraSort")->isVisibleTo(&h.w()));
        QVERIFY(!h.w().findChild<QGroupBox *>("fraMergeDatabase")->isVisibleTo(&h.w()));
        QCOMPARE(h.w().DatabaseFilename, QStringLiteral("Untitled.fxd"));
        if (transfer == app::Command::ReadReceiver) {
            QCOMPARE(h.w().records().cell(2, userdb::SerialNumber), QStringLiteral("00001002"));
            QCOMPARE(h.w().records().cell(2, userdb::Surname), QString());
        } else {
            QCOMPARE(h.dialogs.texts().last(), QStringLiteral("Data downloaded OK"));
            QCOMPARE(h.programmer.model().receiver().slot(1).serial, QByteArray("0000ABCD"));
            QCOMPARE(h.programmer.model().receiver().slot(2).serial, QByteArray("00000000"));
            QCOMPARE(h.w().records().cell(1, userdb::SerialNumber), QStringLiteral("0000ABCD"));
            QCOMPARE(h.w().records().cell(1, userdb::Surname), refused ? "" : "x");
            QCOMPARE(h.w().records().cell(2, userdb::Surname), QStringLiteral("Owner"));
        }
    }
};

QTEST_MAIN(TransfersTest)
#include "test_transfers.moc"
