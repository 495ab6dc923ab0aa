// Read, program, clear, copy and capture as the user runs them, against the simulated
// programmer in-process on the fake clock.
#include "appharness.h"

#include "app/sloteditor.h"

#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
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
};

QTEST_MAIN(TransfersTest)
#include "test_transfers.moc"
