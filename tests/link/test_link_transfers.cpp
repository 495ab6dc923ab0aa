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

// Every slot holding a serial number or an auxiliary word.
Slots filledSlots(const userdb::RecordStore &store) {
    Slots result;
    for (int slot = 1; slot <= userdb::SlotCount; ++slot) {
        const QString serial = store.cell(slot, userdb::SerialNumber);
        const QString auxiliary = store.cell(slot, userdb::AuxiliaryWord);
        if (!serial.isEmpty() || !auxiliary.isEmpty())
            result.insert(slot, {serial, auxiliary});
    }
    return result;
}

} // namespace

class TestLinkTransfers : public QObject {
    Q_OBJECT

private slots:
    void downloadReplies_data();
    void downloadReplies();
    void downloadProgressAndBuffer();
    void downloadRefusesOverlongReply();
    void downloadSurvivesHangUp();
    void downloadPreparationFailure();

    void uploadWritesEverySlot();
    void uploadStopsAtFirstUnacknowledgedSlot();
    void uploadSurvivesHangUp();
    void memorySlots_data();
    void memorySlots();
};

void TestLinkTransfers::downloadReplies_data() {
    QTest::addColumn<Device>("device");
    QTest::addColumn<Pieces>("reply");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<Slots>("expected");

    QTest::newRow("receiver lines then OK")
        << Device::Receiver << Pieces{{0.0, "001 12345678 AB01\r002 8765432F CD02\rOK\r"}} << true
        << Slots{{1, {"12345678", "AB01"}}, {2, {"8765432F", "CD02"}}};
    QTest::newRow("tag, decimal slot, ok in lower case")
        << Device::Tag << Pieces{{0.0, "085 ABCDEF01 0000\rok\r"}} << true
        << Slots{{85, {"ABCDEF01", "0000"}}};
    QTest::newRow("read error first")
        << Device::Receiver << Pieces{{0.0, "?\r001 12345678 AB01\r"}} << false << Slots{};
    QTest::newRow("read error keeps earlier lines")
        << Device::Receiver << Pieces{{0.0, "001 12345678 AB01\r?\r002 11111111 0000\r"}} << false
        << Slots{{1, {"12345678", "AB01"}}};
    QTest::newRow("slot fields that are no slot number skipped")
        << Device::Receiver
        << Pieces{{0.0, "0A1 12345678 AB01\r000 12345678 AB01\r-01 1\r003 22222222 0003\r"}} << true
        << Slots{{3, {"22222222", "0003"}}};
    QTest::newRow("short line, last line wins, tail after last CR dropped")
        << Device::Receiver << Pieces{{0.0, "004 1234\r004 ABCD\r005 33333333 0005"}} << true
        << Slots{{4, {"ABCD", ""}}};
    QTest::newRow("pause under 2 s continues the reply")
        << Device::Receiver << Pieces{{0.0, "001 11111111 0001\r"}, {1.9, "002 22222222 0002\r"}}
        << true << Slots{{1, {"11111111", "0001"}}, {2, {"22222222", "0002"}}};
    QTest::newRow("pause of 2 s ends the reply")
        << Device::Receiver << Pieces{{0.0, "001 11111111 0001\r"}, {2.0, "002 22222222 0002\r"}}
        << true << Slots{{1, {"11111111", "0001"}}};
    QTest::newRow("no answer") << Device::Tag << Pieces{} << true << Slots{};
}

void TestLinkTransfers::downloadReplies() {
    QFETCH(Device, device);
    QFETCH(Pieces, reply);
    QFETCH(bool, complete);
    QFETCH(Slots, expected);

    LinkRig rig;
    platform::ScriptedDevice &programmer = rig.device(2);
    programmer.answerAll(reply);
    userdb::RecordStore store;

    const DownloadOutcome outcome =
        proglink::downloadMemory(rig.context, rig.view, 2, device, rig.buffer, store);

    QCOMPARE(outcome, complete ? DownloadOutcome::Complete : DownloadOutcome::Failed);
    QCOMPARE(programmer.commands(), QList<QByteArray>{device == Device::Receiver ? "D" : "C"});
    QCOMPARE(rig.port.writes().size(), 2);
    QCOMPARE(filledSlots(store), expected);
    QVERIFY(!rig.port.isOpen());
    if (complete) {
        QVERIFY(rig.dialogs.messages().isEmpty());
        QVERIFY(rig.view.progressVisible); // the caller hides it after saving
    } else {
        QCOMPARE(rig.dialogs.texts(), QStringList{ReadError});
        QCOMPARE(rig.dialogs.messages()[0].icon, MessageIcon::Critical);
        QVERIFY(!rig.view.progressVisible);
    }
}

void TestLinkTransfers::downloadProgressAndBuffer() {
    LinkRig rig;
    rig.device(1).answer("D", QByteArray(5500, 'x') + "\r001 12345678 AB01\r");
    rig.buffer.fill(1, proglink::ReplyBuffer::Size, 'z');
    userdb::RecordStore store;

    QCOMPARE(
        proglink::downloadMemory(rig.context, rig.view, 1, Device::Receiver, rig.buffer, store),
        DownloadOutcome::Complete);

    QCOMPARE(rig.view.progressRange, (std::pair<int, int>{1, 340}));
    QCOMPARE(rig.view.progressValues.first(), 1);
    QCOMPARE(rig.view.progressValues[5499], int(5500.0 / 11000 * 340) + 1);
    QCOMPARE(rig.view.progressValues.last(), 340);
    // Blanked up to 11,000 before the command; untouched beyond.
    QCOMPARE(rig.buffer.at(11000), ' ');
    QCOMPARE(rig.buffer.at(11001), 'z');
    QCOMPARE(filledSlots(store), (Slots{{1, {"12345678", "AB01"}}}));

    using Op = platform::FakeSerialPort::Operation;
    QList<Op::Kind> kinds;
    for (const Op &op : rig.port.operations())
        kinds.append(op.kind);
    QCOMPARE(kinds, (QList<Op::Kind>{Op::Select, Op::Settings, Op::ReadLength, Op::Open, Op::Flush,
                                     Op::Write, Op::Write, Op::Close}));
}

void TestLinkTransfers::downloadRefusesOverlongReply() {
    LinkRig rig;
    StreamingDevice flood(rig.timeline, "001 12345678 AB01\r" + QByteArray(982, 'x'));
    rig.port.addPort(1, &flood);
    userdb::RecordStore store;

    QCOMPARE(proglink::downloadMemory(rig.context, rig.view, 1, Device::Tag, rig.buffer, store),
             DownloadOutcome::Failed);
    QCOMPARE(rig.dialogs.texts(), QStringList{ReadError});
    QVERIFY(filledSlots(store).isEmpty());
    QVERIFY(!rig.port.isOpen());
    QVERIFY(!rig.view.progressVisible);
    QVERIFY(rig.timeline.now() - 1000.0 < 8.5); // stopped at the buffer's end
}

void TestLinkTransfers::downloadSurvivesHangUp() {
    LinkRig rig;
    rig.device(1).answer("D", {{0.0, "001 12345678 AB01\r002 2222"}, {1.0, "2222 0002\r"}});
    rig.timeline.after(0.5, [&] { rig.port.hangUp(); });
    userdb::RecordStore store;

    QCOMPARE(
        proglink::downloadMemory(rig.context, rig.view, 1, Device::Receiver, rig.buffer, store),
        DownloadOutcome::Failed);
    QCOMPARE(rig.dialogs.texts(), QStringList{ReadError});
    QVERIFY(!rig.port.isOpen());
    QVERIFY(!rig.view.progressVisible);
}

void TestLinkTransfers::downloadPreparationFailure() {
    LinkRig rig;
    userdb::RecordStore store;
    QVERIFY_THROWS_EXCEPTION(
        platform::PortError,
        proglink::downloadMemory(rig.context, rig.view, 6, Device::Receiver, rig.buffer, store));
    QVERIFY(!rig.view.progressVisible);
    QVERIFY(rig.port.writes().isEmpty());
}

void TestLinkTransfers::uploadWritesEverySlot() {
    LinkRig rig;
    rig.device(1).answerAll({{0.5, "OK\r"}});
    userdb::RecordStore store;
    store.setCell(7, userdb::SerialNumber, "1234ABCD");
    store.setCell(9, userdb::SerialNumber, "00C0FFEE");
    store.setCell(9, userdb::AuxiliaryWord, "A9B9");
    store.setCell(86, userdb::SerialNumber, "86868686"); // beyond 85 slots: not sent

    QVERIFY(proglink::uploadMemory(rig.context, rig.view, 1, Device::Tag, 85, store));

    const QList<QByteArray> writes = rig.port.writes();
    QCOMPARE(writes.size(), 85 * 8);
    const auto slotWrites = [&](int slot) { return writes.mid((slot - 1) * 8, 8); };
    QCOMPARE(slotWrites(1),
             (QList<QByteArray>{"V", "=", "001", ",", "00000000", ",", "0000", "\r"}));
    QCOMPARE(slotWrites(7),
             (QList<QByteArray>{"V", "=", "007", ",", "1234ABCD", ",", "0000", "\r"}));
    QCOMPARE(slotWrites(9),
             (QList<QByteArray>{"V", "=", "009", ",", "00C0FFEE", ",", "A9B9", "\r"}));
    QCOMPARE(slotWrites(85)[2], QByteArray("085"));
    QCOMPARE(rig.view.serialsShown.size(), 85);
    QCOMPARE(rig.view.serialsShown[6], QString("1234ABCD"));
    QCOMPARE(rig.view.progressRange, (std::pair<int, int>{1, 85}));
    QCOMPARE(rig.view.progressValues.last(), 85);
    QVERIFY(!rig.view.progressVisible);
    QCOMPARE(rig.dialogs.texts(), QStringList{"Data downloaded OK"});
    QCOMPARE(rig.dialogs.messages()[0].icon, MessageIcon::None);
    QVERIFY(!rig.port.isOpen());
    QCOMPARE(rig.port.openedPorts(), QList<int>{1});
}

void TestLinkTransfers::uploadStopsAtFirstUnacknowledgedSlot() {
    LinkRig rig;
    platform::ScriptedDevice &programmer = rig.device(1);
    programmer.answerAll({{0.0, "ok\r"}});
    programmer.answer("W=003,00000000,0000", "OK"); // no CR
    userdb::RecordStore store;

    QVERIFY(!proglink::uploadMemory(rig.context, rig.view, 1, Device::Receiver, 340, store));

    QCOMPARE(programmer.commands().size(), 3);
    QCOMPARE(programmer.commands().last(), QByteArray("W=003,00000000,0000"));
    QCOMPARE(rig.dialogs.texts(), QStringList{"Failed to write data"});
    QCOMPARE(rig.dialogs.messages()[0].icon, MessageIcon::Critical);
    QVERIFY(!rig.port.isOpen());
    QVERIFY(!rig.view.progressVisible);
}

void TestLinkTransfers::uploadSurvivesHangUp() {
    LinkRig rig;
    rig.device(1).answerAll({{1.0, "OK\r"}});
    rig.timeline.after(4.5, [&] { rig.port.hangUp(); });
    userdb::RecordStore store;

    QVERIFY(!proglink::uploadMemory(rig.context, rig.view, 1, Device::Receiver, 340, store));
    QCOMPARE(rig.dialogs.texts(), QStringList{"Failed to write data"});
    QVERIFY(!rig.port.isOpen());
    QVERIFY(!rig.view.progressVisible);

    QVERIFY_THROWS_EXCEPTION(platform::PortError, proglink::uploadMemory(rig.context, rig.view, 9,
                                                                         Device::Tag, 85, store));
}

void TestLinkTransfers::memorySlots_data() {
    QTest::addColumn<Device>("device");
    QTest::addColumn<bool>("rx85");
    QTest::addColumn<bool>("tag85");
    QTest::addColumn<int>("expected");

    QTest::newRow("receiver 340") << Device::Receiver << false << false << 340;
    QTest::newRow("receiver 85") << Device::Receiver << true << false << 85;
    QTest::newRow("receiver ignores the tag size") << Device::Receiver << false << true << 340;
    QTest::newRow("tag 85") << Device::Tag << false << true << 85;
    QTest::newRow("tag ignores the receiver size") << Device::Tag << true << false << 340;
}

void TestLinkTransfers::memorySlots() {
    QFETCH(Device, device);
    QFETCH(bool, rx85);
    QFETCH(bool, tag85);
    QFETCH(int, expected);
    QCOMPARE(proglink::memorySlotsFor(device, rx85, tag85), expected);
}

QTEST_GUILESS_MAIN(TestLinkTransfers)
#include "test_link_transfers.moc"
