#include "platform/fakes/fakeserialport.h"
#include "platform/fakes/faketimeline.h"
#include "sim/devicemodel.h"
#include "sim/inprocessprogrammer.h"
#include "sim/statefile.h"
#include "tests/common/datacolumns.h"
#include "tests/common/testfiles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace sim;
using platform::FakeSerialPort;
using platform::FakeTimeline;

namespace {

const QByteArray Ident = "ZEPRO V2.4\r";

// Everything the outputs put on the line, pauses ignored.
QByteArray textOf(const Outputs &outputs) {
    QByteArray text;
    for (const Output &output : outputs)
        text += output.text;
    return text;
}

QByteArray exchange(ProgrammerModel &model, const QByteArray &command) {
    return textOf(model.receive(command + '\r'));
}

// A programmer on port 1 of a fake port table, with the port open; a hang-up closes the port.
struct Bench {
    explicit Bench(ProgrammerOptions options = {})
        : programmer(timeline, std::move(options)) {
        port.addPort(1, &programmer);
        port.selectPort(1);
        port.open();
        programmer.setHangUpHandler([this] { port.hangUp(); });
    }
    // Writes the command as the PC does (the letter with its fields, then CR), lets `seconds`
    // pass and returns what came.
    QByteArray command(const QByteArray &text, double seconds) {
        port.write(text);
        port.write("\r");
        return after(seconds);
    }
    QByteArray after(double seconds) {
        timeline.advance(seconds);
        return port.read();
    }

    FakeTimeline timeline;
    FakeSerialPort port;
    InProcessProgrammer programmer;
};

} // namespace

class TestSim : public QObject {
    Q_OBJECT
private slots:
    void replies_data() {
        // lastKind: of the last output; -1: no output at all
        // lastPause: 0 when there is no output
        addColumns<ProgrammerOptions, QByteArray, QByteArray, int, double>(
            "options", "command", "reply", "lastKind", "lastPause");
        using enum Output::Kind;
        const auto row = [](const char *name, const QByteArray &command, const QByteArray &reply,
                            const ProgrammerOptions &options = {}, int kind = Text,
                            double pause = 0.0) {
            QTest::newRow(name) << options << command << reply
                                << (!reply.isEmpty() || kind != Text ? kind : -1) << pause;
        };
        row("identify", "P", Ident);
        row("identify after stray LF", "\nP", Ident);
        row("lower-case letter", "p", Ident);
        for (const char *letter : {"E", "F", "G", "H", "K", "L", "X", "Y", "Q"})
            row(letter, letter, "OK\r");
        row("write", "W=340,0123ABCD,0000", "OK\r");
        row("auxiliary word above 127", "W=001,0123ABCD,\x80\x9C\xA0\xFF", "OK\r");
        // Unknown letter, letter with extra, slot 0 or 341, not hex, short, no commas, slot
        // not digits.
        for (const char *bad :
             {"Z", "PP", "W=000,0123ABCD,0000", "V=341,0123ABCD,0000", "W=001,0123ABCG,0000",
              "W=001,0123ABC,0000", "W=001;0123ABCD;0000", "W=0x1,0123ABCD,0000",
              "W=001,0123ABCD,A B1", "W=001,0123ABCD,A,B1"})
            row(bad, bad, "?\r");
        row("read error at slot 3", "D", "001 00000000 0000\r002 00000000 0000\r?\r",
            {.readErrorAt = 3});
        row("silent", "P", "", {.silent = true});
        row("echo", "K", "K\rOK\r", {.echo = true});
        row("lower case", "P\rE", "zepro v2.4\rok\r", {.lowercase = true});
        row("crlf", "G", "OK\r\n", {.crlf = true});
        row("no final cr", "L", "OK", {.noFinalCr = true});
        row("ack delay on clear", "K", "OK\r", {.ackDelay = 3}, Text, 3.0);
        row("ack delay on write", "V=001,00000001,0000", "OK\r", {.ackDelay = 3}, Text, 3.0);
        row("no ack delay on identify", "P", Ident, {.ackDelay = 3});
        row("endless", "E", "", {.endless = true}, Endless);
        row("flood after its letter", "k", "OK\r", {.floodAfter = 'K'}, Flood);
        row("no flood after another", "L", "OK\r", {.floodAfter = 'K'});
        row("hang up on letter", "K", "", {.hangUpOn = 'k'}, HangUp);
        row("hang up after one", "P", Ident, {.hangUpAfter = 1}, HangUp, 0.2);
        row("version text", "P", "ZEPRO V3.0b\r", {.versionText = "3.0b"});
    }
    void replies() {
        QFETCH(ProgrammerOptions, options);
        QFETCH(QByteArray, command);
        ProgrammerModel model(options);
        const Outputs outputs = model.receive(command + '\r');
        QTEST(textOf(outputs), "reply");
        QCOMPARE(model.commands(), command.mid(command.startsWith('\n')).split('\r'));
        QTEST(outputs.isEmpty() ? -1 : int(outputs.last().kind), "lastKind");
        QTEST(outputs.isEmpty() ? 0.0 : outputs.last().pause, "lastPause");
    }

    // One model through writes, reads, copies, clears and sizes. A command may come split across
    // chunks; empty lines are no commands. (A dropped write is met by the window's verify test.)
    void memories() {
        ProgrammerModel model;
        QCOMPARE(textOf(model.receive("\r\rW=00")), QByteArray());
        QCOMPARE(textOf(model.receive("7,0000001a,AB12\r")), QByteArray("OK\r"));
        QCOMPARE(model.commands().size(), 1);
        QCOMPARE(exchange(model, "V=085,FFFFFFFF,0001"), QByteArray("OK\r"));
        const QList<QByteArray> rx = exchange(model, "D").split('\r');
        QCOMPARE(rx.size(), 342); // 340 slots, OK, nothing after the last CR
        // The serial at positions 5-12, the code at 14-17.
        QCOMPARE(rx.at(6), QByteArray("007 0000001A AB12"));
        QCOMPARE(rx.at(84), QByteArray("085 00000000 0000"));
        const QList<QByteArray> tag = exchange(model, "C").split('\r');
        QCOMPARE(tag.at(84), QByteArray("085 FFFFFFFF 0001"));
        QCOMPARE(tag.at(6), QByteArray("007 00000000 0000"));

        exchange(model, "Y");
        QCOMPARE(model.tag().slot(7).serial, QByteArray("0000001A"));
        exchange(model, "K");
        QVERIFY(model.receiver().slot(7).isEmpty());
        QCOMPARE(model.tag().slot(7).serial, QByteArray("0000001A"));
        exchange(model, "X");
        QCOMPARE(model.receiver().slot(7).serial, QByteArray("0000001A"));
        exchange(model, "L");
        QVERIFY(model.tag().slot(7).isEmpty());
        QCOMPARE(model.changeCount(), 6);

        for (const char *command : {"W=200,00000200,0000", "W=085,00000085,0000", "F", "H"})
            exchange(model, command);
        QCOMPARE(exchange(model, "D").count('\r'), 86); // the slot lines and OK
        QCOMPARE(exchange(model, "C").count('\r'), 86);
        QCOMPARE(exchange(model, "W=086,00000086,0000"), QByteArray("?\r"));
        exchange(model, "E");
        QCOMPARE(exchange(model, "D").count('\r'), 341);
        QVERIFY(model.receiver().slot(200).isEmpty()); // dropped by the 85-slot size
        QCOMPARE(model.receiver().slot(85).serial, QByteArray("00000085"));
    }

    void stateFileRoundTripAndRefusal() {
        QTemporaryDir dir;
        const QString path = dir.filePath("state.txt");
        SlotMemory rx, tag, rx2, tag2;
        rx.setSlot(7, {"0000001A", "AB12"});
        tag.setSize(SlotMemory::SmallSize);
        tag.setSlot(85, {"FFFFFFFF", "0001"});
        QCOMPARE(saveState(path, rx, tag), QString());
        QCOMPARE(loadState(path, rx2, tag2), QString());
        QVERIFY(rx2 == rx && tag2 == tag);

        QVERIFY(writeFile(path, readFile(path) + "slot tag 86 00000001 0000\n")); // beyond 85
        SlotMemory rx3, tag3; // fresh: the file's own size must refuse slot 86
        rx3.setSlot(1, {"00000001", "0000"});
        QVERIFY(loadState(path, rx3, tag3).contains("line"));
        QCOMPARE(rx3.slot(1).serial, QByteArray("00000001")); // unchanged
        QVERIFY(!loadState(dir.filePath("missing"), rx3, tag3).isEmpty());
    }

    // Endless characters keep coming; a flood ends at the next command; a drip leaves a
    // character at a time.
    void streams() {
        Bench endless({.endless = true});
        const QByteArray first = endless.command("K", 1.0);
        QVERIFY(first.size() > 900 && !first.contains('\r') && endless.after(1.0).size() > 900);
        Bench flood({.floodAfter = 'K'});
        const QByteArray flooded = flood.command("K", 0.05);
        QVERIFY(flooded.startsWith("OK\r....") && flooded.size() > qsizetype(40) * 4096);
        QVERIFY(flood.command("P", 0.1).endsWith(Ident)); // any command ends the flood
        QCOMPARE(flood.after(1.0), QByteArray());
        Bench drip({.dripSeconds = 0.5});
        QCOMPARE(drip.command("P", 1.1), QByteArray("ZE"));
        QCOMPARE(drip.after(0.5), QByteArray("P"));
    }

    void captureLinesWhileReceiverOn() {
        Bench bench;
        bench.programmer.setCaptureEvery(5.0);
        bench.programmer.pressFob("RX early"); // receiver still off
        QCOMPARE(bench.command("R", 5.5), QByteArray("RX 00000001\r"));
        bench.programmer.pressFob("RX 12345678");
        QCOMPARE(bench.after(0.1), QByteArray("RX 12345678\r"));
        QCOMPARE(bench.command("Q", 0.1), QByteArray("OK\r"));
        QCOMPARE(bench.after(20.0), QByteArray());
        QVERIFY(!bench.timeline.hasPendingActions());
    }
};

QTEST_GUILESS_MAIN(TestSim)
#include "test_sim.moc"
