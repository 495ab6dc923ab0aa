// Read, program, clear, copy and capture as the user runs them, against the simulated
// programmer in-process on the fake clock.
#include "appharness.h"

#include "app/sloteditor.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

using platform::MessageIcon;

class TransfersTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

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
        QCOMPARE(h.w().editor()->txtRemlet->text(), QStringLiteral("00001001"));
        QVERIFY(h.w().editor()->isEnabled());
        QVERIFY(h.w().isDatabaseOpen());
        QVERIFY(
            !h.w().findChild<QProgressBar *>(QStringLiteral("prbDownload"))->isVisibleTo(&h.w()));
        QFile saved(QStringLiteral("Untitled.fxd"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll().contains("\"00001002\",\"0002\""));
        QCOMPARE(h.dialogs.messages().size(), 2); // the size messages of start-up only
    }

    void programCopyClearCopyBackAndReadRoundTrip() {
        AppHarness h(1);
        h.w().startUp();
        h.w().runCommand(app::Command::NewDatabase);
        for (int slot = 1; slot <= 5; ++slot) {
            h.w().records().setCell(slot, userdb::SerialNumber,
                                    QStringLiteral("ABCDEF%1").arg(slot, 2, 10, QLatin1Char('0')));
            h.w().records().setCell(slot, userdb::AuxiliaryWord, QStringLiteral("AUX%1").arg(slot));
        }
        const userdb::RecordStore before = h.w().records();
        h.w().runCommand(app::Command::ProgramReceiver);
        h.w().runCommand(app::Command::CopyReceiverToTag);
        h.w().runCommand(app::Command::ClearReceiver);
        QCOMPARE(h.programmer.model().receiver().slot(1).serial, QByteArray("00000000"));
        h.w().runCommand(app::Command::CopyTagToReceiver);
        h.w().runCommand(app::Command::ReadReceiver);
        QCOMPARE(h.dialogs.texts().mid(2),
                 (QStringList{"Data downloaded OK", "Copied from Receiver to Tag",
                              "Receiver Cleared", "Copied from Tag to Receiver"}));
        for (int slot = 1; slot <= 6; ++slot) {
            const QString expected = before.cell(slot, userdb::SerialNumber);
            QCOMPARE(h.w().records().cell(slot, userdb::SerialNumber),
                     expected.isEmpty() ? QStringLiteral("00000000") : expected);
        }
        QCOMPARE(h.w().records().cell(5, userdb::AuxiliaryWord), QStringLiteral("AUX5"));
        QCOMPARE(h.w().Remlet_Count(), 5);
    }

    void readErrorShowsItsMessageAndSavesNothing() {
        sim::ProgrammerOptions options;
        options.readErrorAt = 1;
        AppHarness h(1, options);
        h.w().startUp();
        h.w().runCommand(app::Command::ReadTag);
        QCOMPARE(h.commandsSent().last(), QByteArray("C"));
        QCOMPARE(h.dialogs.texts().last(),
                 QStringLiteral("Communications error with reciever, please try again"));
        QCOMPARE(h.dialogs.messages().last().icon, MessageIcon::Critical);
        QVERIFY(!QFile::exists(QStringLiteral("Untitled.fxd")));
        QVERIFY(h.w().editor()->isEnabled());
        QVERIFY(!h.port.isOpen());
    }

    void programmerHangingUpMidUploadEndsTheCommand() {
        sim::ProgrammerOptions options;
        options.hangUpAfter = 10; // P, E, G and seven slots
        AppHarness h(1, options);
        h.w().startUp();
        h.w().runCommand(app::Command::NewDatabase);
        h.w().runCommand(app::Command::ProgramTag);
        QCOMPARE(h.dialogs.texts().last(), QStringLiteral("Failed to write data"));
        QVERIFY(!h.port.isOpen());
        QVERIFY(h.programmer.hungUp());
        // The window is usable and no exchange is left running.
        h.w().runCommand(app::Command::ClearTag);
        QCOMPARE(h.dialogs.messages().last().icon, MessageIcon::Critical);
        QVERIFY(h.w().statusText() !=
                QStringLiteral("The programmer is busy: wait for the current command to finish"));
    }

    void programTagWritesEightyFiveSlotsForASmallTag() {
        AppHarness h(1);
        h.w().startUp();
        h.w().findChild<QRadioButton *>(QStringLiteral("optTAG85Slot"))->click();
        h.w().runCommand(app::Command::NewDatabase);
        h.w().records().setCell(86, userdb::SerialNumber, QStringLiteral("0000ABCD"));
        h.w().runCommand(app::Command::ProgramTag);
        const QList<QByteArray> commands = h.commandsSent();
        QCOMPARE(commands.count(QByteArray("V=085,00000000,0000")), 1);
        QVERIFY(std::none_of(commands.begin(), commands.end(),
                             [](const QByteArray &c) { return c.startsWith("V=086"); }));
        QCOMPARE(h.w().MemorySlots, 85);
        QCOMPARE(h.dialogs.texts().last(), QStringLiteral("Data downloaded OK"));
    }

    void captureShowsEachLineUntilDisabled() {
        AppHarness h(1);
        h.w().startUp();
        auto *label = h.w().findChild<QLabel *>(QStringLiteral("lblEnableRX"));
        h.timeline.after(1.0, [&] { h.programmer.pressFob("RX 0000001A"); });
        h.timeline.after(2.0, [&] {
            QCOMPARE(label->text(), QStringLiteral("RX 0000001A"));
            QCOMPARE(h.w().statusText(), QStringLiteral("Communications OK"));
            h.w().runCommand(app::Command::DisableInternalReceiver);
        });
        h.w().runCommand(app::Command::EnableInternalReceiver);
        QCOMPARE(label->text(), QString());
        QCOMPARE(h.w().statusText(), QStringLiteral("Communications OK"));
        QVERIFY(!h.port.isOpen());
    }
};

QTEST_MAIN(TransfersTest)
#include "test_transfers.moc"
