#include "link/capture.h"
#include "link/compare.h"
#include "link/devicecommands.h"
#include "link/discovery.h"
#include "link/download.h"
#include "link/memorysize.h"
#include "link/portpreparation.h"
#include "link/replycollector.h"
#include "link/upload.h"
#include "platform/fakes/fakedialogs.h"
#include "platform/fakes/scripteddevice.h"
#include "sim/inprocessprogrammer.h"
#include "tests/common/recordingview.h"
#include "userdb/databasefile.h"
#include "userdb/textcodec.h"

#include <QTest>
#include <deque>

// The programmer operations on a fake serial line and clock: scripted devices, and the
// simulated programmer in-process for comparing a receiver or tag with the database (the check
// after programming is the same read and comparison, run through the window in
// test_app_programmer).
using platform::MessageIcon;
using proglink::Device;
using proglink::MemorySize;
using QTest::addColumn;
using QTest::newRow;
using Pieces = QList<platform::ScriptedDevice::Piece>;
using Writes = QList<QByteArray>;
using Numbers = QList<int>;
using Ports = QMap<int, Pieces>; // port number -> its device's answer to "P"
using Command = std::function<void(proglink::LinkContext &)>;
using proglink::CaptureEnd;
struct Cell {
    int slot, column;
    QString text;
};
using Cells = QList<Cell>;

namespace {

const QString Ok = "Communications OK", Error = "Communications Error";
const QString ReadError = "Communications error with reciever, please try again";
const QStringList Nothing;
const Writes On{"R", "\r"}, OnOff{"R", "\r", "Q", "\r"};

// A device that sends `count` characters `every` seconds apart, never a CR.
Pieces drip(int count, double every) {
    return Pieces(count, {every, "0"});
}

// The serial line, clock and boxes are fakes; the window's programmer-facing parts are recorded.
struct LinkRig : RecordingView {
    platform::FakeTimeline timeline;
    platform::FakeSerialPort port;
    platform::FakeDialogs dialogs;
    proglink::ReplyBuffer buffer;
    proglink::LinkContext context{port, timeline, timeline, dialogs};
    std::deque<platform::ScriptedDevice> devices;
    const double start = timeline.now();

    platform::ScriptedDevice &device(int number) {
        port.addPort(number, &devices.emplace_back(timeline));
        return devices.back();
    }
    // Whether exactly `seconds` have passed on the fake clock.
    bool took(double seconds) const { return qAbs(timeline.now() - start - seconds) < 1e-9; }
};

// Every slot holding a serial or an auxiliary word, as "slot=serial,auxiliary".
QStringList filledSlots(const userdb::RecordStore &store) {
    QStringList result;
    for (int slot = 1; slot <= userdb::SlotCount; ++slot)
        if (!store.cell(slot, 1).isEmpty() || !store.cell(slot, 2).isEmpty())
            result << QString("%1=%2,%3").arg(slot).arg(store.cell(slot, 1), store.cell(slot, 2));
    return result;
}

} // namespace

using proglink::ComparisonOutcome;

namespace {

// slot -> "serial,aux"
using Slots = QMap<int, QString>;

void fill(userdb::RecordStore &store, const Slots &values) {
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const QStringList cells = it.value().split(',');
        store.setCell(it.key(), userdb::SerialNumber, cells.value(0));
        store.setCell(it.key(), userdb::AuxiliaryWord, cells.value(1));
    }
}

// "slot database-serial database-aux device-serial device-aux" per difference.
QStringList listed(const QList<proglink::SlotDifference> &differences) {
    QStringList lines;
    for (const auto &d : differences)
        lines << QStringList{QString::number(d.slot), d.databaseSerial, d.databaseAux,
                             d.deviceSerial, d.deviceAux}
                     .join(' ');
    return lines;
}

// The simulated programmer on port 1 of a fake port table, paced at 9600 baud on the fake
// clock.
struct Rig : RecordingView {
    explicit Rig(sim::ProgrammerOptions options = {})
        : programmer(timeline, std::move(options)) {
        port.addPort(1, &programmer);
        programmer.setHangUpHandler([this] { port.hangUp(); });
    }
    // The device's memory: its size and the slots it holds.
    sim::SlotMemory &memory(Device device) {
        return device == Device::Receiver ? programmer.model().receiver()
                                          : programmer.model().tag();
    }

    platform::FakeTimeline timeline;
    platform::FakeSerialPort port;
    platform::FakeDialogs dialogs;
    sim::InProcessProgrammer programmer;
    proglink::LinkContext context{port, timeline, timeline, dialogs};
    proglink::ReplyBuffer buffer;
};

} // namespace

class TestLink : public QObject {
    Q_OBJECT

private slots:
    // The device answers "K" with `reply`; the limit T is 2 s.
    void collector_data() {
        addColumn<Pieces>("reply");
        addColumn<bool>("accepted");
        addColumn<double>("elapsed");
        addColumn<int>("leftUnread");
        newRow("pauses under T") << Pieces{{0.5, "O"}, {1.9, "K"}, {1.9, "\r"}} << true << 4.3 << 0;
        newRow("pause of T before CR") << Pieces{{0, "OK"}, {2, "\r"}} << false << 2.0 << 1;
        newRow("lower case") << Pieces{{0, "ok\r"}} << true << 0.0 << 0;
        newRow("LF after CR unread") << Pieces{{0, "OK\r\n"}} << true << 0.0 << 1;
        newRow("echo before OK") << Pieces{{0, "K\rOK\r"}} << false << 2.0 << 0;
        // Past what the reply buffer holds the wait ends at once, the rest unread.
        newRow("flood") << Pieces{{0, QByteArray(90000, 'x')}} << false << 0.0 << 10000;
    }
    void collector() {
        QFETCH(Pieces, reply);
        QFETCH(double, elapsed);
        LinkRig rig;
        rig.device(1).answer("K", reply);
        proglink::preparePort(rig.port, 1);
        rig.port.write("K\r");
        QTEST(proglink::collectAcknowledgement(rig.context, 2.0), "accepted");
        QVERIFY(rig.took(elapsed));
        QTEST(rig.port.pendingInput(), "leftUnread");
    }

    // The row's name is the letter sent to port 2.
    void commands_data() {
        using enum proglink::MemorySize;
        using enum proglink::DeviceCommand;
        addColumn<Command>("run");
        addColumn<double>("limit");
        addColumn<QStringList>("messages"); // on success, on failure
        auto size = [](auto s) -> Command {
            return [=](auto &c) { runMemorySizeCommand(c, 2, s); };
        };
        auto device = [](auto d) -> Command { return [=](auto &c) { runDeviceCommand(c, 2, d); }; };
        const QStringList rx{"Receiver memory size set", "Failed to set receiver memory size"};
        const QStringList tag{"Backup tag size set", "Failed to set backup tag memory size"};
        newRow("E") << size(Receiver340) << 2.0 << rx;
        newRow("F") << size(Receiver85) << 2.0 << rx;
        newRow("G") << size(Tag340) << 2.0 << tag;
        newRow("H") << size(Tag85) << 2.0 << tag;
        newRow("K") << device(ClearReceiver) << 2.0
                    << QStringList{"Receiver Cleared", "Failed to clear Receiver"};
        newRow("L") << device(ClearTag) << 2.0
                    << QStringList{"Backup Tag Cleared", "Failed to clear Tag"};
        newRow("Y") << device(CopyReceiverToTag) << 8.0
                    << QStringList{"Copied from Receiver to Tag", "Failed to copy data"};
        newRow("X") << device(CopyTagToReceiver) << 8.0
                    << QStringList{"Copied from Tag to Receiver", "Failed to copy data"};
    }
    // Acknowledged a second within the limit (a copy after 7 s), then a second beyond it.
    void commands() {
        QFETCH(Command, run);
        QFETCH(double, limit);
        const QByteArray letter = QTest::currentDataTag();
        LinkRig rig;
        platform::ScriptedDevice &programmer = rig.device(2);
        programmer.answer(letter, {{limit - 1, "ok\r"}});
        run(rig.context);
        programmer.answer(letter, {{limit + 1, "OK\r"}});
        run(rig.context);
        QCOMPARE(rig.port.writes(), (Writes{letter, "\r", letter, "\r"}));
        QCOMPARE(rig.port.settings(), QString("9600"));
        QTEST(rig.dialogs.texts(), "messages");
        QCOMPARE(rig.dialogs.messages()[0].icon, MessageIcon::None);
        QCOMPARE(rig.dialogs.messages()[1].icon, MessageIcon::Critical);
        QVERIFY(!rig.port.isOpen());
    }

    // Size commands end silently when the port cannot be used, and without a programmer port
    // (0) do not even select one; the others leave a port failure to the caller.
    void commandPortFailures() {
        struct CountingPort : platform::FakeSerialPort {
            void selectPort(int number) override {
                ++selects;
                FakeSerialPort::selectPort(number);
            }
            int selects = 0;
        } port;
        LinkRig rig;
        proglink::LinkContext context{port, rig.timeline, rig.timeline, rig.dialogs};
        runMemorySizeCommand(context, 0, MemorySize::Receiver85);
        QCOMPARE(port.selects, 0);
        port.holdElsewhere(2);
        runMemorySizeCommand(context, 2, MemorySize::Tag85);
        QVERIFY_THROWS_EXCEPTION(platform::PortError,
                                 runDeviceCommand(context, 2, proglink::DeviceCommand::ClearTag));
        QVERIFY(rig.dialogs.messages().isEmpty());
    }

    // Numbers without a device do not exist and fail at once. Every port opened costs 0.01 s
    // of settling; an identification is accepted at its CR.
    void discovery_data() {
        addColumn<Ports>("ports");
        addColumn<Numbers>("held");
        addColumn<Numbers>("denied"); // refused for lack of permission
        addColumn<Numbers>("opened");
        addColumn<QString>("line"); // shown and returned; empty: none found
        addColumn<double>("elapsed");
        const Pieces v12{{0, "ZEPRO V1.2\r"}}, v9{{0, "ZEPRO V9\r"}};
        const Numbers none;
        const QString id = "ZEPRO V1.2";
        newRow("port 1") << Ports{{1, v12}, {2, v9}} << none << none << Numbers{1} << id << 0.01;
        newRow("port 255") << Ports{{255, v12}} << none << none << Numbers{255} << id << 0.01;
        newRow("lower case as received") << Ports{{1, {{0, "zepro v3 Rev b\r"}}}} << none << none
                                         << Numbers{1} << "zepro v3 Rev b" << 0.01;
        newRow("Windows-1252 as received")
            << Ports{{1, {{0, "ZEPRO V2 \x80\x9C\r"}}}} << none << none << Numbers{1}
            << QString::fromUtf8("ZEPRO V2 \u20AC\u0153") << 0.01;
        newRow("held ports skipped")
            << Ports{{1, v9}, {3, v12}} << Numbers{1, 2} << none << Numbers{3} << id << 0.01;
        // Rejected after a second of silence; port 3's reply starts afresh in the buffer.
        newRow("wrong device on port 2") << Ports{{2, {{0.3, "AT P ECHO\r"}}}, {3, v12}} << none
                                         << none << Numbers{2, 3} << id << 1.32;
        // Cut off when the buffer is full, without waiting for the silence.
        newRow("endless sender") << Ports{{1, {{0, QByteArray(90000, 'x')}}}, {2, v12}} << none
                                 << none << Numbers{1, 2} << id << 0.02;
        // Never silent for a second, never a CR: the probe ends 3 s after "P".
        newRow("drip") << Ports{{1, drip(10, 0.9)}, {2, v12}} << none << none << Numbers{1, 2} << id
                       << 3.02;
        newRow("not found") << Ports{{4, {}}} << none << none << Numbers{4} << "" << 1.01;
        newRow("permission refused")
            << Ports{{4, {}}} << none << Numbers{2, 3} << Numbers{4} << "" << 1.01;
    }
    void discovery() {
        QFETCH(Ports, ports);
        QFETCH(Numbers, held);
        QFETCH(Numbers, denied);
        QFETCH(Numbers, opened);
        QFETCH(QString, line);
        QFETCH(double, elapsed);
        LinkRig rig;
        for (auto it = ports.cbegin(); it != ports.cend(); ++it)
            rig.device(it.key()).answer("P", it.value());
        for (int number : held)
            rig.port.holdElsewhere(number);
        for (int number : denied)
            rig.port.refusePermission(number);

        const auto result = proglink::discoverProgrammer(rig.context, rig, rig.buffer);

        QCOMPARE(result.found, !line.isEmpty());
        QCOMPARE(result.port, result.found ? opened.last() : 0);
        QCOMPARE(result.identification, line);
        QCOMPARE(rig.replyTexts, line.isEmpty() ? Nothing : QStringList{line});
        const QString outcome = result.found
                                    ? QString("Found Remlet Manager on Port %1").arg(opened.last())
                                    : "Cannot Find Remlet Manager";
        QCOMPARE(rig.statusTexts, (QStringList{"Searching for Remlet Manager", outcome}));
        QCOMPARE(rig.port.openedPorts(), opened);
        QCOMPARE(rig.port.writes().last(2), (Writes{"P", "\r"}));
        QVERIFY(!rig.port.isOpen());
        QVERIFY(rig.took(elapsed));
        // Status panel 2: the port found, or the first port refused for lack of permission.
        const QString portText = result.found ? QString("Port %1: COM%1").arg(result.port)
                                 : denied.isEmpty()
                                     ? ""
                                     : QString("No permission to open COM%1: add your user to the "
                                               "dialout group")
                                           .arg(denied.first());
        QCOMPARE(rig.portTexts, QStringList{portText});
    }

    // A port left open (capture mode holds it) makes every number skipped.
    void discoverySkipsEverythingWhilePortOpen() {
        LinkRig rig;
        rig.device(1).answer("P", "ZEPRO V1\r");
        rig.port.selectPort(1);
        rig.port.open();
        rig.port.clearLog();
        QVERIFY(!proglink::discoverProgrammer(rig.context, rig, rig.buffer).found);
        QVERIFY(rig.port.operations().isEmpty());
    }

    // A number that fails once its port is open is closed, so the scan can go on.
    void discoveryClosesAPortThatFailedAfterOpening() {
        LinkRig rig;
        rig.device(1);
        rig.port.failWrites(1);
        rig.device(2).answer("P", "ZEPRO V1\r");
        const auto result = proglink::discoverProgrammer(rig.context, rig, rig.buffer);
        QCOMPARE(result.port, 2);
        QVERIFY(!rig.port.isOpen());
    }

    // Each reply is tried as the answer to "D" (receiver) and to "C" (tag).
    void download_data() {
        addColumn<Pieces>("reply");
        addColumn<double>("hangUp"); // when the device vanishes; 0: never
        addColumn<bool>("complete");
        addColumn<QString>("expected");
        addColumn<double>("elapsed");
        addColumn<QString>("status"); // empty: the status text is not touched
        const QByteArray line1 = "001 12345678 AB01\r";
        const QString slot1 = "1=12345678,AB01";
        newRow("lines then OK") << Pieces{{0, line1 + "002 8765432F CD02\rOK\r"}} << 0.0 << true
                                << slot1 + " 2=8765432F,CD02" << 2.0 << "";
        newRow("085, ok") << Pieces{{0, "085 ABCDEF01 0000\rok\r"}} << 0.0 << true
                          << "85=ABCDEF01,0000" << 2.0 << "";
        newRow("? first") << Pieces{{0, "?\r" + line1}} << 0.0 << false << "" << 2.0 << "";
        newRow("bad slot fields skipped")
            << Pieces{{0, "0A1 12345678 AB01\r000 1\r-01 1\r+02 1\r" + line1}} << 0.0 << true
            << slot1 << 2.0 << "Read 1 slot; 4 lines could not be read";
        // The database file quotes its fields without escaping: a quote could not be saved.
        newRow("quotes skipped, empty lines not counted")
            << Pieces{{0, line1 + "002 1234\"678 AB01\r\r003 12345678 AB\"1\rOK\r"}} << 0.0 << true
            << slot1 << 2.0 << "Read 1 slot; 2 lines could not be read";
        newRow("short line, last wins, tail dropped")
            << Pieces{{0, "004 1234\r004 ABCD\r005 33333333 0005"}} << 0.0 << true << "4=ABCD,"
            << 2.0 << "";
        newRow("gaps under 2 s adding up past 2 s")
            << Pieces{{0, "002 1\r00"}, {1.5, "1 1234"}, {1.5, "5678 AB01\r"}} << 0.0 << true
            << slot1 + " 2=1," << 5.0 << "";
        newRow("pause of 2 s ends it")
            << Pieces{{0, "002 1\r"}, {2, line1}} << 0.0 << true << "2=1," << 2.0 << "";
        // Bytes above 127 read as the database file's code page: a save writes them back.
        newRow("high bytes") << Pieces{{0, "003 12345678 \x80\xE9\x9D"
                                           "0\r"}}
                             << 0.0 << true << QString::fromUtf8("3=12345678,\u20AC\u00E9\u009D0")
                             << 2.0 << "";
        QByteArray crlf;
        QStringList all;
        for (int slot = 1; slot <= 340; ++slot) {
            crlf += QByteArray::number(slot).rightJustified(3, '0') + " 0000" +
                    QByteArray::number(slot + 1000) + " A" +
                    QByteArray::number(slot).rightJustified(3, '0') + "\r\n";
            all << QString("%1=0000%2,A%3").arg(slot).arg(slot + 1000).arg(slot, 3, 10, QChar('0'));
        }
        // The LF after each CR belongs to the line end, not to the next line.
        newRow("CR LF, 340 slots")
            << Pieces{{0, crlf + "OK\r\n"}} << 0.0 << true << all.join(' ') << 2.0 << "";
        // A mute device gives no memory: the open database must not be replaced by nothing.
        newRow("no answer") << Pieces{} << 0.0 << false << "" << 2.0 << "";
        newRow("over 80,000") << Pieces{{0, line1 + QByteArray(90000, 'x')}} << 0.0 << false << ""
                              << 0.0 << "";
        newRow("hang-up mid-reply")
            << Pieces{{0, line1}, {1, "002 1\r"}} << 0.5 << false << "" << 0.5 << "";
        // Never 2 s of silence: the read ends 60 s after the command.
        newRow("drip") << Pieces{{0, line1}} + drip(100, 0.9) << 0.0 << false << "" << 60.0 << "";
    }
    void download() {
        QFETCH(Pieces, reply);
        QFETCH(double, hangUp);
        QFETCH(bool, complete);
        QFETCH(double, elapsed);
        QFETCH(QString, status);
        for (const Device device : {Device::Receiver, Device::Tag}) {
            LinkRig rig;
            rig.device(2).answerAll(reply);
            if (hangUp > 0)
                rig.timeline.after(hangUp, [&] { rig.port.hangUp(); });
            userdb::RecordStore store;

            const auto outcome = downloadMemory(rig.context, rig, 2, device, rig.buffer, store);

            QCOMPARE(outcome == proglink::DownloadOutcome::Complete, complete);
            QCOMPARE(rig.port.writes(), (Writes{device == Device::Receiver ? "D" : "C", "\r"}));
            QTEST(filledSlots(store).join(' '), "expected");
            QCOMPARE(rig.dialogs.texts(), complete ? Nothing : QStringList{ReadError});
            // On success the caller hides the bar after saving.
            QCOMPARE(rig.progress, (complete ? std::pair{1, 340} : std::pair{0, 0}));
            QVERIFY(!rig.port.isOpen());
            QVERIFY(rig.took(elapsed));
            QCOMPARE(rig.statusTexts, status.isEmpty() ? Nothing : QStringList{status});
        }
    }

    void uploadWritesEverySlot() {
        LinkRig rig;
        rig.device(1).answerAll({{0.5, "OK\r"}});
        userdb::RecordStore store;
        store.setCell(7, userdb::SerialNumber, "1234ABCD");
        store.setCell(9, userdb::SerialNumber, "00C0FFEE");
        store.setCell(9, userdb::AuxiliaryWord, "A9B9");
        store.setCell(86, userdb::SerialNumber, "86868686"); // beyond 85 slots: not sent
        // Sent as the database file and a read hold them: Windows-1252.
        store.setCell(10, userdb::SerialNumber,
                      userdb::decodeWindows1252("\x80\x8A\x9C\xFF"
                                                "1234"));
        store.setCell(10, userdb::AuxiliaryWord, userdb::decodeWindows1252("\x81\x9F\xA0\xE9"));

        QVERIFY(uploadMemory(rig.context, rig, 1, Device::Receiver, 85, store));

        const Writes writes = rig.port.writes();
        QCOMPARE(writes.size(), 85 * 8);
        QCOMPARE(writes.mid(0, 8), (Writes{"W", "=", "001", ",", "00000000", ",", "0000", "\r"}));
        QCOMPARE(writes.mid(48, 8), (Writes{"W", "=", "007", ",", "1234ABCD", ",", "0000", "\r"}));
        QCOMPARE(writes.mid(64, 8), (Writes{"W", "=", "009", ",", "00C0FFEE", ",", "A9B9", "\r"}));
        QCOMPARE(writes.mid(76, 3), (Writes{"\x80\x8A\x9C\xFF"
                                            "1234",
                                            ",", "\x81\x9F\xA0\xE9"}));
        QCOMPARE(writes[84 * 8 + 2], QByteArray("085"));
        QCOMPARE(rig.progress, (std::pair{0, 0}));
        QCOMPARE(rig.dialogs.texts(), QStringList{"Data downloaded OK"});
        QCOMPARE(rig.dialogs.messages()[0].icon, MessageIcon::None);
        QVERIFY(!rig.port.isOpen());
    }

    // The tag ("V") is written slot by slot until slot 3 goes unacknowledged: answered without
    // its CR, by a device that vanishes while it waits, or by one that floods the line.
    void uploadStops() {
        for (const QByteArray way : {"no CR", "hang-up", "flood"}) {
            LinkRig rig;
            platform::ScriptedDevice &programmer = rig.device(1);
            programmer.answerAll({{1.0, "ok\r"}});
            programmer.answer("V=003,00000000,0000",
                              way == "flood" ? QByteArray(90000, 'x') : "OK");
            if (way == "hang-up")
                rig.timeline.after(2.5, [&] { rig.port.hangUp(); });
            userdb::RecordStore store;
            QVERIFY(!uploadMemory(rig.context, rig, 1, Device::Tag, 340, store));
            QCOMPARE(programmer.commands().size(), 3);
            QCOMPARE(rig.dialogs.texts(), QStringList{"Failed to write data"});
            QCOMPARE(rig.dialogs.messages()[0].icon, MessageIcon::Critical);
            QVERIFY(!rig.port.isOpen());
        }
    }

    // Values that would end or split a write command refuse the whole upload, with one box,
    // before the port is touched; bytes above 127, short and non-hexadecimal values are sent.
    void uploadRefusesUnsendableValues_data() {
        addColumn<Cells>("cells");
        addColumn<QStringList>("lines"); // of the box; empty: the upload went ahead
        using namespace userdb;
        const QString serial = "Slot %1: the serial number holds characters that cannot be sent "
                               "to the programmer";
        const QString aux = "Slot %1: the auxiliary word holds characters that cannot be sent to "
                            "the programmer";
        newRow("LF, control byte, comma, DEL")
            << Cells{{3, AuxiliaryWord, "AB\nC"},
                     {5, SerialNumber, "1234\x01"},
                     {5, AuxiliaryWord, "A,BC"},
                     {85, SerialNumber, "1234\x7f"},
                     {86, SerialNumber, "\r"}} // beyond the 85 slots: neither sent nor checked
            << QStringList{aux.arg(3), serial.arg(5), aux.arg(5), serial.arg(85)};
        Cells many;
        for (int slot = 1; slot <= 12; ++slot)
            many << Cell{slot, AuxiliaryWord, "\t"};
        newRow("ten lines at most")
            << many << QStringList{aux.arg(1), aux.arg(2), aux.arg(3), aux.arg(4), aux.arg(5),
                                   aux.arg(6), aux.arg(7), aux.arg(8), aux.arg(9), aux.arg(10)};
        newRow("high bytes, short, not hex")
            << Cells{{1, AuxiliaryWord, decodeWindows1252("\x80\x8D\x9C\xFF")},
                     {2, SerialNumber, "XYZ"}}
            << QStringList{};
    }
    void uploadRefusesUnsendableValues() {
        QFETCH(Cells, cells);
        QFETCH(QStringList, lines);
        LinkRig rig;
        rig.device(1).answerAll({{0, "OK\r"}});
        userdb::RecordStore store;
        for (const Cell &cell : cells)
            store.setCell(cell.slot, cell.column, cell.text);
        QCOMPARE(uploadMemory(rig.context, rig, 1, Device::Receiver, 85, store), lines.isEmpty());
        QCOMPARE(rig.dialogs.texts(),
                 QStringList{lines.isEmpty() ? "Data downloaded OK" : lines.join('\n')});
        QCOMPARE(rig.port.operations().isEmpty(), !lines.isEmpty());
    }

    void memorySlots() {
        QCOMPARE(proglink::memorySlotsFor(Device::Receiver, true, false), 85);
        QCOMPARE(proglink::memorySlotsFor(Device::Receiver, false, true), 340);
        QCOMPARE(proglink::memorySlotsFor(Device::Tag, false, true), 85);
        QCOMPARE(proglink::memorySlotsFor(Device::Tag, true, false), 340);
    }

    // The programmer answers "R" with `lines` and "Q" with `answer`. The user stops the mode 10 s
    // after it starts, or as soon as a line "STOP" is shown. Each listening turn first blanks the
    // label.
    void capture_data() {
        addColumn<Pieces>("lines");
        addColumn<Pieces>("answer");
        addColumn<double>("hangUp"); // when the device vanishes; 0: never; -1: held elsewhere
        addColumn<QStringList>("shown");
        addColumn<QString>("status"); // the last; one "Communications OK" per line before
        addColumn<Writes>("writes");
        addColumn<double>("elapsed");
        addColumn<CaptureEnd>("end");
        const Pieces off{{0.1, "OFF\r"}};
        newRow("CR-only line") << Pieces{{0.2, "ABC\r"}, {0.3, "\r"}} << off << 0.0
                               << QStringList{"", "ABC", "", "", ""} << Ok << OnOff << 10.1
                               << CaptureEnd::Stopped;
        newRow("CR LF") << Pieces{{0.2, "ONE\r\nTWO\r"}} << off << 0.0
                        << QStringList{"", "ONE", "", "\nTWO", ""} << Ok << OnOff << 10.1
                        << CaptureEnd::Stopped;
        newRow("stopped mid-line")
            << Pieces{{0.2, "L1\rHALF"}, {12.0, "WAY\r"}} << off << 0.0 << QStringList{"", "L1", ""}
            << Ok << OnOff << 10.1 << CaptureEnd::Stopped;
        // The stop runs in the next turn's yield, just before that turn reads the lone CR.
        newRow("line completed as the user stops")
            << Pieces{{0.2, "STOP\r\r"}} << off << 0.0 << QStringList{"", "STOP", ""} << Ok << OnOff
            << 0.31 << CaptureEnd::Stopped;
        newRow("no answer to Q") << Pieces{} << Pieces{} << 0.0 << QStringList{""} << Error << OnOff
                                 << 12.0 << CaptureEnd::Stopped;
        newRow("line over 80,000") << Pieces{{0.2, QByteArray(90000, 'y')}} << off << 0.0 << Nothing
                                   << Error << On << 0.21 << CaptureEnd::Lost;
        newRow("port cannot open") << Pieces{} << off << -1.0 << Nothing << Error << Writes{} << 0.0
                                   << CaptureEnd::NotOpened;
        newRow("device vanishes") << Pieces{} << off << 2.0 << Nothing << Error << On << 2.0
                                  << CaptureEnd::Lost;
    }
    void capture() {
        QFETCH(Pieces, lines);
        QFETCH(Pieces, answer);
        QFETCH(double, hangUp);
        QFETCH(QStringList, shown);
        QFETCH(QString, status);
        QFETCH(double, elapsed);
        LinkRig rig;
        platform::ScriptedDevice &programmer = rig.device(1);
        programmer.answer("R", lines);
        programmer.answer("Q", answer);
        if (hangUp < 0)
            rig.port.holdElsewhere(1);
        else if (hangUp > 0)
            rig.timeline.after(hangUp, [&] { rig.port.hangUp(); });
        proglink::InternalReceiverCapture capture;
        rig.timeline.after(10.0, [&] { capture.requestStop(); });
        rig.onReplyText = [&](const QString &text) {
            if (text == "STOP")
                rig.timeline.at(rig.timeline.now(), [&] { capture.requestStop(); });
        };
        // A second start while the mode runs is refused: it would listen on the same port.
        rig.timeline.after(5.0, [&] { capture.run(rig.context, rig, 1, rig.buffer); });

        QTEST(capture.run(rig.context, rig, 1, rig.buffer), "end");

        QCOMPARE(rig.replyTexts, shown);
        QCOMPARE(rig.statusTexts, QStringList(int(shown.size() - 1) / 2, Ok) << status);
        QTEST(rig.port.writes(), "writes");
        QVERIFY(rig.took(elapsed));
        QVERIFY(!rig.port.isOpen());
        QVERIFY(!capture.isRunning());
        QVERIFY(rig.timeline.waitCount() < 30); // a wait per second of silence, not a spin
    }
    void compareStores_data() {
        addColumn<Slots>("database");
        addColumn<Slots>("device");
        addColumn<int>("slotCount");
        addColumn<QStringList>("differences");
        const Slots two{{1, "0000ABCD,0001"}, {2, "12345678,A1B2"}};
        newRow("identical") << two << two << 340 << QStringList{};
        newRow("one serial differs") << two << Slots{{1, "0000ABCD,0001"}, {2, "12345679,A1B2"}}
                                     << 340 << QStringList{"2 12345678 A1B2 12345679 A1B2"};
        newRow("serial letter case only")
            << Slots{{3, "abcdef01,0000"}} << Slots{{3, "ABCDEF01,0000"}} << 340 << QStringList{};
        newRow("aux differs, letter case too")
            << Slots{{4, "00000004,a1b2"}, {5, "00000005,0001"}}
            << Slots{{4, "00000004,A1B2"}, {5, "00000005,0002"}} << 340
            << QStringList{"4 00000004 a1b2 00000004 A1B2", "5 00000005 0001 00000005 0002"};
        // An empty field is what Program sends for it; a slot the device did not report too.
        newRow("empty fields against zeros")
            << Slots{{6, ","}, {7, "00000000,"}, {8, ",0000"}}
            << Slots{{6, "00000000,0000"}, {8, "00000000,0000"}} << 340 << QStringList{};
        newRow("empty database against a filled device")
            << Slots{} << Slots{{9, "1234ABCD,0001"}} << 340
            << QStringList{"9 00000000 0000 1234ABCD 0001"};
        newRow("85 slots") << Slots{{85, "00000085,0000"}, {86, "00000086,0000"}} << Slots{} << 85
                           << QStringList{"85 00000085 0000 00000000 0000"};
    }
    void compareStores() {
        QFETCH(Slots, database);
        QFETCH(Slots, device);
        QFETCH(int, slotCount);
        userdb::RecordStore databaseStore, deviceStore;
        fill(databaseStore, database);
        fill(deviceStore, device);
        QTEST(listed(proglink::compareStores(databaseStore, deviceStore, slotCount)),
              "differences");
    }

    // An 85-slot device holding slots 1 to 3; the database holds `database`. The database
    // store is never written, whatever the read gives.
    void readAndCompare_data() {
        addColumn<Device>("device");
        addColumn<sim::ProgrammerOptions>("options");
        addColumn<Slots>("database");
        addColumn<ComparisonOutcome>("outcome");
        addColumn<QStringList>("differences");
        addColumn<double>("elapsed"); // simulated seconds
        const Slots held{{1, "00000001,0001"}, {2, "00000002,0002"}, {3, "00000003,0003"}};
        // 85 lines of 18 characters and "OK" CR at 9600 baud, then 2 s of silence.
        const double read85 = 2.0 + (2 + 85 * 18 + 3) * sim::WireCharSeconds;
        sim::ProgrammerOptions silent;
        silent.silent = true;
        Slots changed = held;
        changed[2] = "0000000F,0002";
        changed[86] = "00000086,0000"; // beyond the device: not compared
        newRow("85-slot tag, one differs")
            << Device::Tag << sim::ProgrammerOptions{} << changed << ComparisonOutcome::Differs
            << QStringList{"2 0000000F 0002 00000002 0002"} << read85;
        newRow("silent device") << Device::Tag << silent << held << ComparisonOutcome::ReadFailed
                                << QStringList{} << 2.0;
    }
    void readAndCompare() {
        QFETCH(Device, device);
        QFETCH(sim::ProgrammerOptions, options);
        QFETCH(Slots, database);
        QFETCH(ComparisonOutcome, outcome);
        QFETCH(double, elapsed);
        Rig rig(options);
        rig.memory(device).setSize(85);
        for (int slot = 1; slot <= 3; ++slot)
            rig.memory(device).setSlot(slot, {QByteArray::number(slot).rightJustified(8, '0'),
                                              QByteArray::number(slot).rightJustified(4, '0')});
        userdb::RecordStore store;
        fill(store, database);
        const QByteArray before = userdb::writeDatabase("Site", store);
        const double start = rig.timeline.now();

        const proglink::Comparison comparison =
            proglink::readAndCompare(rig.context, rig, 1, device, 85, rig.buffer, store);

        QCOMPARE(comparison.outcome, outcome);
        QTEST(listed(comparison.differences), "differences");
        QCOMPARE(rig.dialogs.texts(),
                 outcome == ComparisonOutcome::ReadFailed ? QStringList{ReadError} : QStringList{});
        QCOMPARE(userdb::writeDatabase("Site", store), before);
        QCOMPARE(rig.programmer.model().commands(),
                 QList<QByteArray>{device == Device::Receiver ? "D" : "C"});
        QVERIFY(!rig.port.isOpen());
        QCOMPARE(rig.progress, (std::pair{0, 0}));
        QVERIFY(qAbs(rig.timeline.now() - start - elapsed) < 1e-6);
    }
};

QTEST_GUILESS_MAIN(TestLink)
#include "test_link.moc"
