#include "link/download.h"
#include "link/upload.h"
#include "linkrig.h"

#include <QTest>

using platform::MessageIcon;
using proglink::Device;
using proglink::DownloadOutcome;
using Slots = QMap<int, QStringList>; // slot -> {serial number, auxiliary word}
Q_DECLARE_METATYPE(Slots)

namespace {

const QString ReadError = "Communications error with reciever, please try again";

Slots filledSlots(const userdb::RecordStore &store) {
    Slots result;
    for (int slot = 1; slot <= userdb::SlotCount; ++slot)
        if (!store.isFree(slot))
            result.insert(slot, {store.cell(slot, 1), store.cell(slot, 2)});
    return result;
}

} // namespace

class TestLinkTransfers : public QObject {
    Q_OBJECT

private slots:
    void download_data() {
        QTest::addColumn<Device>("device");
        QTest::addColumn<Pieces>("reply");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<Slots>("expected");
        const QStringList one{"12345678", "AB01"};
        QTest::newRow("lines then OK")
            << Device::Receiver << Pieces{{0, "001 12345678 AB01\r002 8765432F CD02\rOK\r"}} << true
            << Slots{{1, one}, {2, {"8765432F", "CD02"}}};
        QTest::newRow("tag, decimal slot, ok")
            << Device::Tag << Pieces{{0, "085 ABCDEF01 0000\rok\r"}} << true
            << Slots{{85, {"ABCDEF01", "0000"}}};
        QTest::newRow("? first") << Device::Receiver << Pieces{{0, "?\r001 12345678 AB01\r"}}
                                 << false << Slots{};
        QTest::newRow("? keeps earlier lines")
            << Device::Receiver << Pieces{{0, "001 12345678 AB01\r?\r"}} << false
            << Slots{{1, one}};
        QTest::newRow("bad slot fields skipped")
            << Device::Receiver
            << Pieces{{0, "0A1 12345678 AB01\r000 1\r-01 1\r003 12345678 AB01\r"}} << true
            << Slots{{3, one}};
        QTest::newRow("short line, last wins, tail dropped")
            << Device::Receiver << Pieces{{0, "004 1234\r004 ABCD\r005 33333333 0005"}} << true
            << Slots{{4, {"ABCD", ""}}};
        QTest::newRow("pause under 2 s")
            << Device::Receiver << Pieces{{0, "001 12345678 AB01\r"}, {1.9, "002 1\r"}} << true
            << Slots{{1, one}, {2, {"1", ""}}};
        QTest::newRow("pause of 2 s ends it")
            << Device::Receiver << Pieces{{0, "001 12345678 AB01\r"}, {2, "002 1\r"}} << true
            << Slots{{1, one}};
        QTest::newRow("no answer") << Device::Tag << Pieces{} << true << Slots{};
    }
    void download() {
        QFETCH(Device, device);
        QFETCH(Pieces, reply);
        QFETCH(bool, complete);
        LinkRig rig;
        platform::ScriptedDevice &programmer = rig.device(2);
        programmer.answerAll(reply);
        userdb::RecordStore store;

        const auto outcome = downloadMemory(rig.context, rig.view, 2, device, rig.buffer, store);

        QCOMPARE(outcome, complete ? DownloadOutcome::Complete : DownloadOutcome::Failed);
        QCOMPARE(rig.port.writes(),
                 (QList<QByteArray>{device == Device::Receiver ? "D" : "C", "\r"}));
        QTEST(filledSlots(store), "expected");
        QVERIFY(!rig.port.isOpen());
        QCOMPARE(rig.dialogs.texts(), complete ? QStringList{} : QStringList{ReadError});
        // On success the caller hides the bar after saving.
        QCOMPARE(rig.view.progress, (complete ? std::pair{1, 340} : std::pair{0, 0}));
    }

    void downloadProgressAndBuffer() {
        LinkRig rig;
        rig.device(1).answer("D", QByteArray(5500, 'x') + "\r001 12345678 AB01\r");
        rig.buffer.fill(1, proglink::ReplyBuffer::Size, 'z');
        userdb::RecordStore store;
        QCOMPARE(downloadMemory(rig.context, rig.view, 1, Device::Receiver, rig.buffer, store),
                 DownloadOutcome::Complete);
        QCOMPARE(rig.view.progressValues.first(), 1);
        QCOMPARE(rig.view.progressValues[5499], int(5500.0 / 11000 * 340) + 1);
        QCOMPARE(rig.view.progressValues.last(), 340);
        QCOMPARE(rig.buffer.at(11000), ' '); // blanked before the command, not beyond
        QCOMPARE(rig.buffer.at(11001), 'z');
        QCOMPARE(filledSlots(store).keys(), QList<int>{1});
    }

    void downloadFailures_data() {
        QTest::addColumn<bool>("flood");
        QTest::newRow("reply longer than the buffer") << true;
        QTest::newRow("device vanishes mid-reply") << false;
    }
    void downloadFailures() {
        QFETCH(bool, flood);
        LinkRig rig;
        StreamingDevice programmer(rig.timeline, "001 12345678 AB01\r" + QByteArray(982, 'x'));
        rig.port.addPort(1, &programmer);
        if (!flood)
            rig.timeline.after(0.55, [&] { rig.port.hangUp(); });
        userdb::RecordStore store;
        QCOMPARE(downloadMemory(rig.context, rig.view, 1, Device::Tag, rig.buffer, store),
                 DownloadOutcome::Failed);
        QCOMPARE(rig.dialogs.texts(), QStringList{ReadError});
        QVERIFY(filledSlots(store).isEmpty());
        QVERIFY(!rig.port.isOpen());
        QCOMPARE(rig.view.progress, (std::pair{0, 0}));
        QVERIFY(rig.elapsed() < 8.5);

        QVERIFY_THROWS_EXCEPTION(
            platform::PortError,
            downloadMemory(rig.context, rig.view, 6, Device::Tag, rig.buffer, store));
        QCOMPARE(rig.view.progress, (std::pair{0, 0}));
    }

    void uploadWritesEverySlot() {
        LinkRig rig;
        rig.device(1).answerAll({{0.5, "OK\r"}});
        userdb::RecordStore store;
        store.setCell(7, userdb::SerialNumber, "1234ABCD");
        store.setCell(9, userdb::SerialNumber, "00C0FFEE");
        store.setCell(9, userdb::AuxiliaryWord, "A9B9");
        store.setCell(86, userdb::SerialNumber, "86868686"); // beyond 85 slots: not sent

        QVERIFY(uploadMemory(rig.context, rig.view, 1, Device::Tag, 85, store));

        const QList<QByteArray> writes = rig.port.writes();
        QCOMPARE(writes.size(), 85 * 8);
        QCOMPARE(writes.mid(0, 8),
                 (QList<QByteArray>{"V", "=", "001", ",", "00000000", ",", "0000", "\r"}));
        QCOMPARE(writes.mid(48, 8),
                 (QList<QByteArray>{"V", "=", "007", ",", "1234ABCD", ",", "0000", "\r"}));
        QCOMPARE(writes.mid(64, 8),
                 (QList<QByteArray>{"V", "=", "009", ",", "00C0FFEE", ",", "A9B9", "\r"}));
        QCOMPARE(writes[84 * 8 + 2], QByteArray("085"));
        QCOMPARE(rig.view.serials.size(), 85);
        QCOMPARE(rig.view.serials[6], QString("1234ABCD"));
        QCOMPARE(rig.view.progressValues.last(), 85);
        QCOMPARE(rig.view.progress, (std::pair{0, 0}));
        QCOMPARE(rig.dialogs.texts(), QStringList{"Data downloaded OK"});
        QCOMPARE(rig.dialogs.messages()[0].icon, MessageIcon::None);
        QVERIFY(!rig.port.isOpen());
    }

    void uploadStops_data() {
        QTest::addColumn<bool>("hangUp");
        QTest::newRow("slot 3 answered without CR") << false;
        QTest::newRow("device vanishes at slot 3") << true;
    }
    void uploadStops() {
        QFETCH(bool, hangUp);
        LinkRig rig;
        platform::ScriptedDevice &programmer = rig.device(1);
        programmer.answerAll({{1.0, "ok\r"}});
        programmer.answer("W=003,00000000,0000", "OK");
        if (hangUp)
            rig.timeline.after(2.5, [&] { rig.port.hangUp(); });
        userdb::RecordStore store;

        QVERIFY(!uploadMemory(rig.context, rig.view, 1, Device::Receiver, 340, store));
        QCOMPARE(programmer.commands().size(), 3);
        QCOMPARE(rig.dialogs.texts(), QStringList{"Failed to write data"});
        QCOMPARE(rig.dialogs.messages()[0].icon, MessageIcon::Critical);
        QVERIFY(!rig.port.isOpen());
        QCOMPARE(rig.view.progress, (std::pair{0, 0}));
    }

    void memorySlots() {
        QCOMPARE(proglink::memorySlotsFor(Device::Receiver, true, false), 85);
        QCOMPARE(proglink::memorySlotsFor(Device::Receiver, false, true), 340);
        QCOMPARE(proglink::memorySlotsFor(Device::Tag, false, true), 85);
        QCOMPARE(proglink::memorySlotsFor(Device::Tag, true, false), 340);
    }
};

QTEST_GUILESS_MAIN(TestLinkTransfers)
#include "test_link_transfers.moc"
