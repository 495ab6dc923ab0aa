#include "link/capture.h"
#include "link/compare.h"
#include "link/devicecommands.h"
#include "link/discovery.h"
#include "link/download.h"
#include "link/loggingserialport.h"
#include "link/memorysize.h"
#include "link/portpreparation.h"
#include "link/replycollector.h"
#include "link/upload.h"
#include "link/verify.h"
#include "platform/fakes/fakedialogs.h"
#include "platform/fakes/scripteddevice.h"
#include "sim/inprocessprogrammer.h"
#include "tests/common/datacolumns.h"
#include "tests/common/filledslots.h"
#include "userdb/databasefile.h"

#include <QRegularExpression>
#include <QTest>
#include <deque>
#include <optional>

// The programmer operations on a fake serial line and clock: scripted devices, and the
// simulated programmer in-process for comparing a receiver or tag with the database (the check
// after programming is the same read and comparison, run through the window in
// test_app_programmer).
using platform::MessageIcon;
using proglink::CaptureEnd;
using proglink::ComparisonOutcome;
using proglink::Device;
using proglink::AcknowledgementOutcome::Acknowledged;
using QTest::addColumn;
using QTest::newRow;
using Pieces = QList<platform::ScriptedDevice::Piece>;
using Writes = QList<QByteArray>;
using Ports = QMap<int, Pieces>; // port number -> its device's answer to "P"
using Command = std::function<void(proglink::LinkContext &)>;

namespace {

const QString Ok = "Communications OK", Error = "Communications Error";
const QString ReadError = "Communications error with reciever, please try again";
const QStringList Nothing;

// A reply sent at once.
Pieces sent(const QByteArray &bytes) {
    return {{0, bytes}};
}

// A device that sends `count` characters `every` seconds apart, never a CR.
Pieces drip(int count, double every) {
    return Pieces(count, {every, "0"});
}

// The serial line, clock and boxes are fakes, at the far end scripted devices or the simulated
// programmer (on port 1, paced at 9600 baud); the window's programmer-facing parts are
// recorded.
struct Rig : proglink::ProgrammerView {
    void setStatusText(const QString &text) override { statusTexts.append(text); }
    void setPortText(const QString &text) override { portTexts.append(text); }
    void setReplyText(const QString &text) override {
        replyTexts.append(text);
        if (onReplyText)
            onReplyText(text);
    }
    void showProgress(int minimum, int maximum) override { progress = {minimum, maximum}; }
    void setProgress(int) override {}
    void hideProgress() override { progress = {0, 0}; }
    void showSerialBeingWritten(const QString &) override {}

    platform::ScriptedDevice &device(int number) {
        port.addPort(number, &devices.emplace_back(timeline));
        return devices.back();
    }
    sim::InProcessProgrammer &simulator(sim::ProgrammerOptions options) {
        port.addPort(1, &programmer.emplace(timeline, std::move(options)));
        return *programmer;
    }
    // Whether exactly `seconds` have passed on the fake clock.
    bool took(double seconds) const { return qAbs(timeline.now() - start - seconds) < 1e-9; }

    std::function<void(const QString &)> onReplyText; // acts as the user would, at that moment
    QStringList statusTexts, replyTexts, portTexts;
    std::pair<int, int> progress{0, 0}; // {0, 0}: hidden
    platform::FakeTimeline timeline;
    platform::FakeSerialPort port;
    platform::FakeDialogs dialogs;
    proglink::ReplyBuffer buffer;
    proglink::LinkContext context{port, timeline, timeline, dialogs};
    std::deque<platform::ScriptedDevice> devices;
    std::optional<sim::InProcessProgrammer> programmer;
    const double start = timeline.now();
};

// The fake clock, which also requests the cancellation once it reads `at` or later: a cancel
// that reaches the link without waking its wait.
struct CancellingClock : platform::Clock {
    CancellingClock(platform::Clock &clock, proglink::Cancellation &cancellation, double at)
        : clock(clock)
        , cancellation(cancellation)
        , at(at) {}
    double now() const override {
        const double time = clock.now();
        if (time >= at)
            cancellation.request();
        return time;
    }
    platform::Clock &clock;
    proglink::Cancellation &cancellation;
    double at;
};

// Slots as "slot=serial,auxiliary", separated by spaces.
void fill(userdb::RecordStore &store, const QString &text) {
    for (const QString &item : text.split(' ', Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(QRegularExpression("[=,]"));
        store.setCell(parts[0].toInt(), userdb::SerialNumber, parts[1]);
        store.setCell(parts[0].toInt(), userdb::AuxiliaryWord, parts.value(2));
    }
}

struct AcknowledgementCase {
    Pieces a, b;   // the replies to "A" (none: "A" is not sent) and to "B"
    bool accepted; // "B"
    double elapsed;
    int leftUnread = 0;
};

struct DiscoveryCase {
    Ports ports;
    QList<int> opened;
    QString line; // shown and returned; empty: none found
    double elapsed;
    // denied: refused for lack of permission; failing: opens, but every write fails.
    QList<int> held = {}, denied = {}, failing = {};
};

struct DownloadCase {
    Pieces reply;
    QString expected; // the slots read (as filledSlots lists them, joined by spaces); empty: the
                      // read failed, or the memory is empty
    double elapsed = 2;
    QString status = {}; // empty: the status text is not touched
    double hangUp = 0;   // when the device vanishes; 0: never
    bool empty = false;  // an empty memory: complete, no slot; status "The receiver holds..."
};

// The programmer answers "R" with `lines` and "Q" with `q`.
struct CaptureCase {
    Pieces lines;
    QStringList shown;
    double elapsed;
    CaptureEnd end = CaptureEnd::Stopped;
    QString status = Ok;         // the last; one "Communications OK" per line before
    double hangUp = 0;           // when the device vanishes; 0: never; -1: held elsewhere
    Pieces q = {{0.1, "OFF\r"}}; // the answer to "Q"
};

struct ComparisonCase {
    QString database, device; // device "silent": a programmer that never answers
    QStringList differences;  // "slot database-serial database-aux device-serial device-aux"
    int slotCount = 340;
};

} // namespace

class TestLink : public QObject {
    Q_OBJECT

private slots:
    // Collecting the acknowledgement of "B", after that of "A" when the row gives a reply to "A".
    // The limit T is 2 s; seconds count from the start.
    void acknowledgement_data() {
        addColumn<AcknowledgementCase>("c");
        const auto row = [](const char *name, const AcknowledgementCase &c) { newRow(name) << c; };
        row("pauses under T", {{}, {{0.5, "O"}, {1.9, "K"}, {1.9, "\r"}}, true, 4.3});
        row("pause of T before CR", {{}, {{0, "OK"}, {2, "\r"}}, false, 2.0, 1});
        row("LF after CR unread", {{}, sent("OK\r\n"), true, 0.0, 1});
        row("LF first", {{}, sent("\nOK\r"), false, 2.0});
        row("echo before OK", {{}, sent("K\rOK\r"), false, 2.0});
        // Never 2 s of silence, never a CR: the wait ends 30 s after the command.
        row("drip", {{}, drip(100, 1.9), false, 30.0});
        // Past what the reply buffer holds the wait ends at once, the rest unread.
        row("flood", {{}, sent(QByteArray(90000, 'x')), false, 0.0, 10000});
        // An LF right after the CR of an accepted acknowledgement ends that line, wherever it
        // lands; anywhere else it spoils a reply.
        row("LF after the next command",
            {{{0, "OK\r"}, {0.01, "\n"}}, {{0.02, "OK\r"}}, true, 0.02});
        row("LF starting the next reply", {sent("OK\r"), sent("\nok\r"), true, 0.0});
        row("after a refused reply", {sent("NO\r"), sent("\nOK\r"), false, 4.0});
        row("a second LF", {sent("OK\r\n"), sent("\nOK\r"), false, 2.0});
        row("LF inside", {sent("OK\r"), sent("O\nK\r"), false, 2.0});
    }
    void acknowledgement() {
        QFETCH(AcknowledgementCase, c);
        Rig rig;
        platform::ScriptedDevice &programmer = rig.device(1);
        programmer.answer("A", c.a);
        programmer.answer("B", c.b);
        proglink::preparePort(rig.port, 1);
        if (!c.a.isEmpty()) {
            rig.port.write("A\r");
            proglink::collectAcknowledgement(rig.context, {2.0});
        }
        rig.port.write("B\r");
        QCOMPARE(proglink::collectAcknowledgement(rig.context, {2.0}) == Acknowledged, c.accepted);
        QVERIFY(rig.took(c.elapsed));
        QCOMPARE(rig.port.pendingInput(), c.leftUnread);
    }

    // The row's name is the letter sent to port 2.
    void commands_data() {
        using enum proglink::MemorySize;
        using enum proglink::DeviceCommand;
        // messages: on success, on failure
        // overall: the limit counted from the command
        addColumns<Command, double, QStringList, double>("run", "limit", "messages", "overall");
        auto size = [](auto s) { return [=](auto &c) { runMemorySizeCommand(c, 2, s); }; };
        auto run = [](auto d) { return [=](auto &c) { runDeviceCommand(c, 2, d); }; };
        const auto row = [](const char *letter, const Command &run, double limit,
                            const QStringList &messages, double overall = 30) {
            newRow(letter) << run << limit << messages << overall;
        };
        const QStringList rx{"Receiver memory size set", "Failed to set receiver memory size"};
        const QStringList tag{"Backup tag size set", "Failed to set backup tag memory size"};
        const QStringList copied{"Copied from Receiver to Tag", "Failed to copy data"};
        row("E", size(Receiver340), 2, rx);
        row("F", size(Receiver85), 2, rx);
        row("G", size(Tag340), 2, tag);
        row("H", size(Tag85), 2, tag);
        row("K", run(ClearReceiver), 2, {"Receiver Cleared", "Failed to clear Receiver"});
        row("L", run(ClearTag), 2, {"Backup Tag Cleared", "Failed to clear Tag"});
        row("Y", run(CopyReceiverToTag), 8, copied, 60);
        row("X", run(CopyTagToReceiver), 8, {"Copied from Tag to Receiver", copied[1]}, 60);
    }
    // A device that drips a character every 1.9 s and never a CR is cut off at the overall
    // limit; an acknowledgement comes a second within the limit (a copy's after 7 s), then a
    // second beyond it; the simulated programmer that ends its lines with CR LF is acknowledged
    // twice in a row; then the port is held elsewhere: a size command ends silently, the others
    // leave the failure to the caller.
    void commands() {
        QFETCH(Command, run);
        QFETCH(double, limit);
        QFETCH(QStringList, messages);
        const QByteArray letter = QTest::currentDataTag();
        Rig rig;
        platform::ScriptedDevice &programmer = rig.device(2);
        programmer.answer(letter, drip(100, 1.9));
        run(rig.context);
        QTEST(rig.timeline.now() - rig.start, "overall");
        programmer.answer(letter, {{limit - 1, "ok\r"}});
        run(rig.context);
        programmer.answer(letter, {{limit + 1, "OK\r"}});
        run(rig.context);
        sim::InProcessProgrammer crlf(rig.timeline, {.crlf = true});
        rig.port.addPort(2, &crlf);
        run(rig.context);
        run(rig.context);
        rig.port.holdElsewhere(2);
        if (QByteArray("EFGH").contains(letter))
            run(rig.context);
        else
            QVERIFY_THROWS_EXCEPTION(platform::PortError, run(rig.context));
        QCOMPARE(rig.port.writes().join(), (letter + "\r").repeated(5));
        QCOMPARE(rig.port.settings(), QString("9600"));
        const QString &done = messages[0], &failed = messages[1];
        QCOMPARE(rig.dialogs.texts(), (QStringList{failed, done, failed, done, done}));
        QCOMPARE(rig.dialogs.messages()[0].icon, MessageIcon::Critical);
        QCOMPARE(rig.dialogs.messages()[1].icon, MessageIcon::None);
        QVERIFY(!rig.port.isOpen());
    }

    // Numbers without a device do not exist and fail at once. Every port opened costs 0.01 s
    // of settling; an identification is accepted at its CR.
    void discovery_data() {
        addColumn<DiscoveryCase>("c");
        const auto row = [](const char *name, const DiscoveryCase &c) { newRow(name) << c; };
        const Pieces v12 = sent("ZEPRO V1.2\r"), v9 = sent("ZEPRO V9\r");
        const QString id = "ZEPRO V1.2";
        row("port 255", {{{255, v12}}, {255}, id, 0.01});
        row("port 1, lower case as received",
            {{{1, sent("zepro v3 Rev b\r")}, {2, v9}}, {1}, "zepro v3 Rev b", 0.01});
        const QString euroOe = QString::fromUtf8("ZEPRO V2 \u20AC\u0153");
        row("Windows-1252 as received", {{{1, sent("ZEPRO V2 \x80\x9C\r")}}, {1}, euroOe, 0.01});
        row("held ports skipped", {{{1, v9}, {3, v12}}, {3}, id, 0.01, {1, 2}});
        // Rejected after a second of silence; port 3's reply starts afresh in the buffer.
        row("wrong device on port 2", {{{2, {{0.3, "AT P ECHO\r"}}}, {3, v12}}, {2, 3}, id, 1.32});
        // Cut off when the buffer is full, without waiting for the silence.
        row("endless sender", {{{1, sent(QByteArray(90000, 'x'))}, {2, v12}}, {1, 2}, id, 0.02});
        // Never silent for a second, never a CR: the probe ends 3 s after "P".
        row("drip", {{{1, drip(10, 0.9)}, {2, v12}}, {1, 2}, id, 3.02});
        // A number that fails once its port is open is closed, so the scan can go on.
        row("port failing after opening", {{{1, v9}, {2, v12}}, {1, 2}, id, 0.02, {}, {}, {1}});
        row("not found", {{{4, {}}}, {4}, "", 1.01});
        row("permission refused", {{{4, {}}}, {4}, "", 1.01, {}, {2, 3}});
    }
    void discovery() {
        QFETCH(DiscoveryCase, c);
        Rig rig;
        for (auto it = c.ports.cbegin(); it != c.ports.cend(); ++it)
            rig.device(it.key()).answer("P", it.value());
        for (int number : c.held)
            rig.port.holdElsewhere(number);
        for (int number : c.denied)
            rig.port.refusePermission(number);
        for (int number : c.failing)
            rig.port.failWrites(number);

        const auto result = proglink::discoverProgrammer(rig.context, rig, rig.buffer);

        const int found = c.line.isEmpty() ? 0 : c.opened.last();
        QCOMPARE(result.found, found != 0);
        QCOMPARE(result.port, found);
        QCOMPARE(result.identification, c.line);
        QCOMPARE(rig.replyTexts, found ? QStringList{c.line} : Nothing);
        const QString outcome = found ? QString("Found Remlet Manager on Port %1").arg(found)
                                      : "Cannot Find Remlet Manager";
        QCOMPARE(rig.statusTexts, (QStringList{"Searching for Remlet Manager", outcome}));
        QCOMPARE(rig.port.openedPorts(), c.opened);
        QCOMPARE(rig.port.writes().last(2), (Writes{"P", "\r"}));
        QVERIFY(!rig.port.isOpen() && rig.took(c.elapsed));
        // Status panel 2: the port found, or the first port refused for lack of permission.
        const QString refused = "No permission to open COM%1: add your user to the dialout group";
        QCOMPARE(rig.portTexts, QStringList{found ? QString("Port %1: COM%1").arg(found)
                                            : c.denied.isEmpty() ? ""
                                                                 : refused.arg(c.denied.first())});
    }

    // A port left open (capture mode holds it) makes every number skipped.
    void discoverySkipsEverythingWhilePortOpen() {
        Rig rig;
        rig.device(1).answer("P", "ZEPRO V1\r");
        rig.port.selectPort(1);
        rig.port.open();
        rig.port.clearLog();
        QVERIFY(!proglink::discoverProgrammer(rig.context, rig, rig.buffer).found);
        QVERIFY(rig.port.operations().isEmpty());
    }

    // Each reply is tried as the answer to "D" (receiver) and to "C" (tag).
    void download_data() {
        addColumn<DownloadCase>("c");
        const auto row = [](const char *name, const DownloadCase &c) { newRow(name) << c; };
        const QByteArray line1 = "001 12345678 AB01\r";
        const QString slot1 = "1:12345678|AB01";
        row("lines then OK", {sent(line1 + "002 8765432F CD02\rOK\r"), slot1 + " 2:8765432F|CD02"});
        row("085, ok", {sent("085 ABCDEF01 0000\rok\r"), "85:ABCDEF01|0000"});
        row("? first", {sent("?\r" + line1), ""});
        row("bad slot fields skipped", {sent("0A1 12345678 AB01\r000 1\r-01 1\r+02 1\r" + line1),
                                        slot1, 2, "Read 1 slot; 4 lines could not be read"});
        // The database file quotes its fields without escaping: a quote could not be saved.
        row("quotes skipped, empty lines not counted",
            {sent(line1 + "002 1234\"678 AB01\r\r003 12345678 AB\"1\rOK\r"), slot1, 2,
             "Read 1 slot; 2 lines could not be read"});
        row("short line, last wins, tail dropped",
            {sent("004 1234\r004 ABCD\r005 33333333 0005"), "4:ABCD"});
        row("gaps under 2 s adding up past 2 s",
            {{{0, "002 1\r00"}, {1.5, "1 1234"}, {1.5, "5678 AB01\r"}}, slot1 + " 2:1", 5});
        row("pause of 2 s ends it", {{{0, "002 1\r"}, {2, line1}}, "2:1"});
        // Bytes above 127 read as the database file's code page: a save writes them back.
        row("high bytes", {sent("003 12345678 \x80\xE9\x9D\x30\r"),
                           QString::fromUtf8("3:12345678|\u20AC\u00E9\u009D0")});
        QByteArray crlf;
        QStringList all;
        for (int slot = 1; slot <= 340; ++slot) {
            crlf += QString::asprintf("%03d 0000%d A%03d\r\n", slot, slot + 1000, slot).toLatin1();
            all << QString::asprintf("%d:0000%d|A%03d", slot, slot + 1000, slot);
        }
        // The LF after each CR belongs to the line end, not to the next line.
        row("CR LF, 340 slots", {sent(crlf + "OK\r\n"), all.join(' ')});
        row("over 80,000", {sent(line1 + QByteArray(90000, 'x')), "", 0});
        // An empty memory answers "OK" alone; silence or noise is no memory read.
        row("OK alone", {sent("OK\r\n"), "", 2, {}, 0, true});
        row("noise then OK", {sent("no slot\rOK\r"), ""});
        row("hang-up mid-reply", {{{0, line1}, {1, "002 1\r"}}, "", 0.5, {}, 0.5});
        // Never 2 s of silence: the read ends 60 s after the command.
        row("drip", {sent(line1) + drip(100, 0.9), "", 60});
    }
    void download() {
        QFETCH(DownloadCase, c);
        const bool complete = !c.expected.isEmpty() || c.empty;
        for (const Device device : {Device::Receiver, Device::Tag}) {
            if (c.empty)
                c.status = device == Device::Receiver ? "The receiver holds no slots"
                                                      : "The tag holds no slots";
            Rig rig;
            rig.device(2).answerAll(c.reply);
            if (c.hangUp > 0)
                rig.timeline.after(c.hangUp, [&] { rig.port.hangUp(); });
            userdb::RecordStore store;

            const auto outcome = downloadMemory(rig.context, rig, 2, device, rig.buffer, store);

            QCOMPARE(outcome == proglink::DownloadOutcome::Complete, complete);
            QCOMPARE(rig.port.writes(), (Writes{device == Device::Receiver ? "D" : "C", "\r"}));
            QCOMPARE(filledSlots(store).join(' '), c.expected);
            QCOMPARE(rig.dialogs.texts(), complete ? Nothing : QStringList{ReadError});
            // On success the caller hides the bar after saving.
            QCOMPARE(rig.progress, (complete ? std::pair{1, 340} : std::pair{0, 0}));
            QVERIFY(!rig.port.isOpen() && rig.took(c.elapsed));
            QCOMPARE(rig.statusTexts, c.status.isEmpty() ? Nothing : QStringList{c.status});
        }
    }

    // The tag ("V") is written slot by slot until slot 3 goes unacknowledged: answered without
    // its CR, by a device that vanishes while it waits, or by one that floods the line.
    void uploadStops() {
        for (const QByteArray way : {"no CR", "hang-up", "flood"}) {
            Rig rig;
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

    // The user cancels each command in each of its phases: before it goes out (at -1), at a
    // moment that wakes no event (seconds after the start), or right after slot 3's "OK",
    // between slots (at 0). The simulated memories hold other serials than the database.
    void cancel_data() {
        addColumns<QString, double>("command", "at");
        for (const char *command : {"read", "compare", "verify", "program"}) {
            newRow(QByteArray(command) + ", before") << QString(command) << -1.0;
            newRow(QByteArray(command) + ", under way") << QString(command) << 1.0;
        }
        newRow("program, between slots") << QString("program") << 0.0;
        newRow("program tag, under way") << QString("program tag") << 0.2;
        newRow("read, silent device") << QString("read silent") << 1.55;
    }
    void cancel() {
        QFETCH(QString, command);
        QFETCH(double, at);
        const Device device = command == "program tag" ? Device::Tag : Device::Receiver;
        Rig rig;
        proglink::Cancellation cancellation;
        CancellingClock clock{rig.timeline, cancellation, at > 0 ? rig.start + at : qInf()};
        proglink::TrafficLog log;
        proglink::LoggingSerialPort line(rig.port, log);
        proglink::LinkContext context{line, clock, rig.timeline, rig.dialogs, &cancellation};
        sim::InProcessProgrammer &programmer =
            rig.simulator({.silent = command.endsWith("silent")});
        userdb::RecordStore database;
        for (int slot = 1; slot <= 340; ++slot) {
            const QByteArray held = QByteArray::number(0x10000000 + slot, 16);
            programmer.model().receiver().setSlot(slot, {held, "0000"});
            programmer.model().tag().setSlot(slot, {held, "0000"});
            database.setCell(slot, userdb::SerialNumber, QString::number(0x20000000 + slot, 16));
        }
        const QByteArray before = userdb::writeDatabase("Site", database);
        if (at < 0)
            cancellation.request();
        int okRows = 0;
        QObject::connect(&log, &proglink::TrafficLog::rowAdded, [&] {
            if (at == 0 && log.row(log.size() - 1).bytes == "OK\r" && ++okRows == 3)
                cancellation.request();
        });

        int sent = 0;
        if (command.startsWith("read")) {
            userdb::RecordStore store;
            QCOMPARE(downloadMemory(context, rig, 1, device, rig.buffer, store),
                     proglink::DownloadOutcome::Cancelled);
            QCOMPARE(filledSlots(store), QStringList());
        } else if (command.startsWith("program")) {
            const auto result = uploadMemory(context, rig, 1, device, 340, database);
            QCOMPARE(result.outcome, proglink::UploadOutcome::Cancelled);
            sent = result.slotsSent;
        } else {
            const auto compare =
                command == "compare" ? proglink::readAndCompare : proglink::verifyProgrammed;
            QCOMPARE(compare(context, rig, 1, device, 340, rig.buffer, database).outcome,
                     ComparisonOutcome::Cancelled);
        }

        QVERIFY(at <= 0 || rig.timeline.now() - clock.at < 0.2);
        QVERIFY(at >= 0 || rig.port.operations().isEmpty());
        QVERIFY(at != 0 || sent == 3);
        QVERIFY(!rig.port.isOpen());
        QCOMPARE(rig.progress, (std::pair{0, 0}));
        QCOMPARE(rig.statusTexts, Nothing);
        QCOMPARE(userdb::writeDatabase("Site", database), before);
        // What went out reaches the programmer: the box names every slot it may now hold.
        rig.timeline.advance(10);
        QCOMPARE(programmer.model().commands().join('\n').count('='), sent);
        QCOMPARE(rig.dialogs.texts(),
                 sent > 0 ? QStringList{proglink::programmingCancelledText(device, sent, 340)}
                          : Nothing);
    }

    // Values that would end or split a write command refuse the whole upload, with one box of
    // ten lines at most, before the port is touched.
    void uploadRefusesUnsendableValues() {
        using namespace userdb;
        Rig rig;
        userdb::RecordStore store;
        store.setCell(3, AuxiliaryWord, "AB\nC");
        store.setCell(5, SerialNumber, "1234\x01");
        store.setCell(5, AuxiliaryWord, "A,BC");
        store.setCell(85, SerialNumber, "1234\x7f");
        store.setCell(85, AuxiliaryWord, "\t"); // the eleventh line: left out
        store.setCell(86, SerialNumber, "\r");  // beyond the 85 slots: neither sent nor checked
        for (int slot = 6; slot <= 11; ++slot)
            store.setCell(slot, AuxiliaryWord, "\t");
        const QString serial = "Slot %1: the serial number holds characters that cannot be sent "
                               "to the programmer";
        const QString aux = "Slot %1: the auxiliary word holds characters that cannot be sent to "
                            "the programmer";
        QStringList lines{aux.arg(3), serial.arg(5), aux.arg(5)};
        for (int slot = 6; slot <= 11; ++slot)
            lines << aux.arg(slot);
        QCOMPARE(uploadMemory(rig.context, rig, 1, Device::Receiver, 85, store).outcome,
                 proglink::UploadOutcome::Refused);
        QCOMPARE(rig.dialogs.texts(), QStringList{(lines << serial.arg(85)).join('\n')});
        QVERIFY(rig.port.operations().isEmpty());
    }

    void memorySlots() {
        QCOMPARE(proglink::memorySlotsFor(Device::Receiver, true, false), 85);
        QCOMPARE(proglink::memorySlotsFor(Device::Receiver, false, true), 340);
        QCOMPARE(proglink::memorySlotsFor(Device::Tag, false, true), 85);
        QCOMPARE(proglink::memorySlotsFor(Device::Tag, true, false), 340);
    }

    // The user stops the mode 10 s after it starts, or as soon as a line "STOP" is shown. Each
    // listening turn first blanks the label.
    void capture_data() {
        addColumn<CaptureCase>("c");
        const auto row = [](const char *name, const CaptureCase &c) { newRow(name) << c; };
        using enum CaptureEnd;
        row("CR-only line", {{{0.2, "ABC\r"}, {0.3, "\r"}}, {"", "ABC", "", "", ""}, 10.1});
        row("CR LF", {{{0.2, "ONE\r\nTWO\r"}}, {"", "ONE", "", "\nTWO", ""}, 10.1});
        row("stopped mid-line", {{{0.2, "L1\rHALF"}, {12.0, "WAY\r"}}, {"", "L1", ""}, 10.1});
        // The stop runs in the next turn's yield, just before that turn reads the lone CR.
        row("line completed as the user stops", {{{0.2, "STOP\r\r"}}, {"", "STOP", ""}, 0.31});
        row("no answer to Q", {{}, {""}, 12.0, Stopped, Error, 0, {}});
        row("Q answered by a drip", {{}, {""}, 40.0, Stopped, Error, 0, drip(100, 1.9)});
        row("line over 80,000", {{{0.2, QByteArray(90000, 'y')}}, {}, 0.21, Lost, Error});
        row("port cannot open", {{}, {}, 0.0, NotOpened, Error, -1});
        row("device vanishes", {{}, {}, 2.0, Lost, Error, 2.0});
    }
    void capture() {
        QFETCH(CaptureCase, c);
        Rig rig;
        platform::ScriptedDevice &programmer = rig.device(1);
        programmer.answer("R", c.lines);
        programmer.answer("Q", c.q);
        if (c.hangUp < 0)
            rig.port.holdElsewhere(1);
        else if (c.hangUp > 0)
            rig.timeline.after(c.hangUp, [&] { rig.port.hangUp(); });
        proglink::InternalReceiverCapture capture;
        rig.timeline.after(10.0, [&] { capture.requestStop(); });
        rig.onReplyText = [&](const QString &text) {
            if (text == "STOP")
                rig.timeline.at(rig.timeline.now(), [&] { capture.requestStop(); });
        };
        // A second start while the mode runs is refused: it would listen on the same port.
        rig.timeline.after(5.0, [&] { capture.run(rig.context, rig, 1, rig.buffer); });

        QCOMPARE(capture.run(rig.context, rig, 1, rig.buffer), c.end);

        QCOMPARE(rig.replyTexts, c.shown);
        QCOMPARE(rig.statusTexts, QStringList(int(c.shown.size() - 1) / 2, Ok) << c.status);
        // R once the port is open, Q unless the device was lost.
        QCOMPARE(rig.port.writes(),
                 (c.end == CaptureEnd::NotOpened ? Writes{} : Writes{"R", "\r"}) +
                     (c.end == CaptureEnd::Stopped ? Writes{"Q", "\r"} : Writes{}));
        QVERIFY(rig.took(c.elapsed) && !rig.port.isOpen());
        QVERIFY(!capture.isRunning());
        // A wait per second of silence or per character, not a spin.
        QVERIFY(rig.timeline.waitCount() < 2 * c.elapsed + 10);
    }

    // The simulated tag holds `device` in `slotCount` slots, the database `database`. An empty
    // field is what Program sends for it. The database store is never written, whatever the read
    // gives.
    void readAndCompare_data() {
        addColumn<ComparisonCase>("c");
        const auto row = [](const char *name, const ComparisonCase &c) { newRow(name) << c; };
        const QString two = "1=0000ABCD,0001 2=12345678,A1B2";
        row("identical", {two, two, {}});
        row("one serial differs",
            {two, "1=0000ABCD,0001 2=12345679,A1B2", {"2 12345678 A1B2 12345679 A1B2"}});
        row("serial letter case only", {"3=abcdef01,0000", "3=ABCDEF01,0000", {}});
        row("aux differs, letter case too",
            {"4=00000004,a1b2 5=00000005,0001",
             "4=00000004,A1B2 5=00000005,0002",
             {"4 00000004 a1b2 00000004 A1B2", "5 00000005 0001 00000005 0002"}});
        row("empty fields against zeros", {"6=, 7=00000000, 8=,0000", "", {}});
        row("empty database against a filled device",
            {"", "9=1234ABCD,0001", {"9 00000000 0000 1234ABCD 0001"}});
        row("85-slot tag", {"2=0000000F,0002 85=00000085,0000 86=00000086,0000",
                            "2=00000002,0002",
                            {"2 0000000F 0002 00000002 0002", "85 00000085 0000 00000000 0000"},
                            85});
        row("silent device", {two, "silent", {}, 85});
    }
    void readAndCompare() {
        QFETCH(ComparisonCase, c);
        const bool silent = c.device == "silent";
        Rig rig;
        sim::SlotMemory &tag = rig.simulator({.silent = silent}).model().tag();
        tag.setSize(c.slotCount);
        userdb::RecordStore held, store;
        fill(held, silent ? "" : c.device);
        for (int slot = 1; slot <= c.slotCount; ++slot)
            if (!held.cell(slot, userdb::SerialNumber).isEmpty())
                tag.setSlot(slot, {held.cell(slot, userdb::SerialNumber).toLatin1(),
                                   held.cell(slot, userdb::AuxiliaryWord).toLatin1()});
        fill(store, c.database);
        const QByteArray before = userdb::writeDatabase("Site", store);

        const proglink::Comparison comparison = proglink::readAndCompare(
            rig.context, rig, 1, Device::Tag, c.slotCount, rig.buffer, store);

        QCOMPARE(comparison.outcome, silent                    ? ComparisonOutcome::ReadFailed
                                     : c.differences.isEmpty() ? ComparisonOutcome::Matches
                                                               : ComparisonOutcome::Differs);
        QStringList differences;
        for (const auto &d : comparison.differences)
            differences << QString("%1 %2 %3 %4 %5")
                               .arg(d.slot)
                               .arg(d.databaseSerial, d.databaseAux, d.deviceSerial, d.deviceAux);
        QCOMPARE(differences, c.differences);
        QCOMPARE(rig.dialogs.texts(), silent ? QStringList{ReadError} : Nothing);
        QCOMPARE(userdb::writeDatabase("Site", store), before);
        QCOMPARE(rig.programmer->model().commands(), QList<QByteArray>{"C"});
        QVERIFY(!rig.port.isOpen());
        QCOMPARE(rig.progress, (std::pair{0, 0}));
        // The slot lines of 18 characters and "OK" CR at 9600 baud, then 2 s of silence.
        QVERIFY(rig.took(silent ? 2.0 : 2.0 + (2 + c.slotCount * 18 + 3) * sim::WireCharSeconds));
    }
};

QTEST_GUILESS_MAIN(TestLink)
#include "test_link.moc"
