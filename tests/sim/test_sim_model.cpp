#include "sim/devicemodel.h"
#include "sim/statefile.h"
#include "sim/transmitter.h"

#include <QTemporaryDir>
#include <QTest>

using namespace sim;

namespace {

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

QList<QByteArray> lines(const QByteArray &reply) {
    QList<QByteArray> result = reply.split('\r');
    result.removeLast(); // after the last CR
    return result;
}

} // namespace

class TestSimModel : public QObject {
    Q_OBJECT
private slots:
    void replies_data() {
        QTest::addColumn<ProgrammerOptions>("options");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("lastKind"); // of the last output; -1: no output at all
        QTest::addColumn<double>("lastPause");
        const auto row = [](const char *name, const char *command, const char *reply,
                            ProgrammerOptions options = {}, int kind = Output::Text,
                            double pause = 0.0) {
            QTest::newRow(name) << options << QByteArray(command) << QByteArray(reply)
                                << (*reply || kind != Output::Text ? kind : -1) << pause;
        };
        const char *ident = "ZEPRO V2.4\r";
        row("identify", "P", ident);
        row("identify after stray LF", "\nP", ident);
        row("lower-case letter", "p", ident);
        for (const char *letter : {"E", "F", "G", "H", "K", "L", "X", "Y", "Q"})
            row(letter, letter, "OK\r");
        row("receiver on: no reply", "R", "");
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
        row("ack delay on clear", "K", "OK\r", {.ackDelay = 3}, Output::Text, 3.0);
        row("ack delay on write", "V=001,00000001,0000", "OK\r", {.ackDelay = 3}, Output::Text,
            3.0);
        row("no ack delay on identify", "P", ident, {.ackDelay = 3});
        row("endless", "E", "", {.endless = true}, Output::Endless);
        row("flood after its letter", "k", "OK\r", {.floodAfter = 'K'}, Output::Flood);
        row("no flood after another", "L", "OK\r", {.floodAfter = 'K'});
        row("hang up on letter", "K", "", {.hangUpOn = 'k'}, Output::HangUp);
        row("hang up after one", "P", ident, {.hangUpAfter = 1}, Output::HangUp, 0.2);
        row("hang up after two", "P\rP", "ZEPRO V2.4\rZEPRO V2.4\r", {.hangUpAfter = 2},
            Output::HangUp, 0.2);
        row("version text", "P", "ZEPRO V3.0b\r", {.versionText = "3.0b"});
    }
    void replies() {
        QFETCH(ProgrammerOptions, options);
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, reply);
        QFETCH(int, lastKind);
        QFETCH(double, lastPause);
        ProgrammerModel model(options);
        const Outputs outputs = model.receive(command + '\r');
        QCOMPARE(textOf(outputs), reply);
        QCOMPARE(model.commands(), command.mid(command.startsWith('\n')).split('\r'));
        for (qsizetype i = 0; i + 1 < outputs.size(); ++i) // a hang-up ends the outputs
            QVERIFY(outputs.at(i).kind != Output::HangUp);
        QCOMPARE(outputs.isEmpty() ? -1 : int(outputs.last().kind), lastKind);
        if (!outputs.isEmpty())
            QCOMPARE(outputs.last().pause, lastPause);
    }

    void commandSplitAcrossChunksAndEmptyLinesIgnored() {
        ProgrammerModel model;
        QCOMPARE(textOf(model.receive("\r\rW=00")), QByteArray());
        QCOMPARE(textOf(model.receive("7,0000001a,AB12\r")), QByteArray("OK\r"));
        QCOMPARE(model.receiver().slot(7), (Slot{"0000001A", "AB12"}));
        QCOMPARE(model.commands().size(), 1);
    }

    void writeThenReadEachMemory() {
        ProgrammerModel model({.dropWrite = 9});
        QCOMPARE(exchange(model, "W=007,0000001A,AB12"), QByteArray("OK\r"));
        QCOMPARE(exchange(model, "W=009,0000001A,AB12"), QByteArray("OK\r")); // and dropped
        QCOMPARE(exchange(model, "V=085,FFFFFFFF,0001"), QByteArray("OK\r"));
        const QList<QByteArray> rx = lines(exchange(model, "D"));
        QCOMPARE(rx.size(), 341);
        // The serial at positions 5-12, the code at 14-17.
        QCOMPARE(rx.at(6), QByteArray("007 0000001A AB12"));
        QCOMPARE(rx.at(8), QByteArray("009 00000000 0000"));
        QCOMPARE(rx.at(84), QByteArray("085 00000000 0000"));
        QCOMPARE(rx.last(), QByteArray("OK"));
        const QList<QByteArray> tag = lines(exchange(model, "C"));
        QCOMPARE(tag.at(84), QByteArray("085 FFFFFFFF 0001"));
        QCOMPARE(tag.at(6), QByteArray("007 00000000 0000"));
    }

    void copyAndClear() {
        ProgrammerModel model;
        exchange(model, "W=005,0000ABCD,0000");
        exchange(model, "Y");
        QCOMPARE(model.tag().slot(5).serial, QByteArray("0000ABCD"));
        exchange(model, "K");
        QVERIFY(model.receiver().slot(5).isEmpty());
        QCOMPARE(model.tag().slot(5).serial, QByteArray("0000ABCD"));
        exchange(model, "X");
        QCOMPARE(model.receiver().slot(5).serial, QByteArray("0000ABCD"));
        exchange(model, "L");
        QVERIFY(model.tag().slot(5).isEmpty());
        QCOMPARE(model.changeCount(), 5);
    }

    void sizesSetTheNumberOfSlotLines() {
        ProgrammerModel model;
        for (const char *command : {"W=200,00000200,0000", "W=085,00000085,0000", "F", "H"})
            exchange(model, command);
        QCOMPARE(lines(exchange(model, "D")).size(), 86);
        QCOMPARE(lines(exchange(model, "C")).size(), 86);
        QCOMPARE(exchange(model, "W=086,00000086,0000"), QByteArray("?\r"));
        exchange(model, "E");
        QCOMPARE(lines(exchange(model, "D")).size(), 341);
        QVERIFY(model.receiver().slot(200).isEmpty()); // dropped by the 85-slot size
        QCOMPARE(model.receiver().slot(85).serial, QByteArray("00000085"));
    }

    void captureOnlyWhileReceiverOn() {
        ProgrammerModel model({.crlf = true});
        QVERIFY(model.capture("RX 1").isEmpty());
        QVERIFY(model.captureTick().isEmpty());
        exchange(model, "R");
        QCOMPARE(textOf(model.capture("RX 1")), QByteArray("RX 1\r\n"));
        QCOMPARE(textOf(model.captureTick()), QByteArray("RX 00000001\r\n"));
        QCOMPARE(textOf(model.captureTick()), QByteArray("RX 00000002\r\n"));
        exchange(model, "Q");
        QVERIFY(model.capture("RX 1").isEmpty());
    }

    void transmitterPacesAndEndsStreams() {
        const double c = 0.001;
        Transmitter line(c);
        line.send(10.0, {Output{Output::Text, 0.5, "OK\r"}, Output{Output::HangUp, 0.2, {}}});
        QCOMPARE(line.nextDue(), 10.5 + c);
        QCOMPARE(line.take(10.5 + 2 * c).bytes, QByteArray("OK"));
        const Transmitter::Due rest = line.take(10.5 + 3 * c + 0.1);
        QCOMPARE(rest.bytes, QByteArray("\r"));
        QVERIFY(!rest.hangUp);
        QVERIFY(line.take(10.5 + 3 * c + 0.2).hangUp);
        QVERIFY(line.idle());

        line.send(20.0, {Output{Output::Endless, 0.0, {}}});
        QCOMPARE(line.take(20.0 + 5 * c).bytes, QByteArray("....."));
        line.send(20.0 + 5 * c, {Output{Output::Text, 0.0, "A"}}); // ends the stream
        QCOMPARE(line.take(21.0).bytes, QByteArray("A"));
        QVERIFY(line.idle());
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
        QCOMPARE(rx2, rx);
        QCOMPARE(tag2, tag);

        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        file.write("slot tag 86 00000001 0000\n"); // beyond the 85-slot tag
        file.close();
        SlotMemory rx3, tag3;
        rx3.setSlot(1, {"00000001", "0000"});
        QVERIFY(loadState(path, rx3, tag3).contains("line"));
        QCOMPARE(rx3.slot(1).serial, QByteArray("00000001")); // unchanged
        QVERIFY(!loadState(dir.filePath("missing"), rx3, tag3).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSimModel)
#include "test_sim_model.moc"
