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
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("reply");
        QTest::newRow("identify") << QByteArray("P") << QByteArray("ZEPRO V2.4\r");
        QTest::newRow("identify after stray LF") << QByteArray("\nP") << QByteArray("ZEPRO V2.4\r");
        QTest::newRow("lower-case letter") << QByteArray("p") << QByteArray("ZEPRO V2.4\r");
        for (const char *letter : {"E", "F", "G", "H", "K", "L", "X", "Y", "Q"})
            QTest::newRow(letter) << QByteArray(letter) << QByteArray("OK\r");
        QTest::newRow("receiver on: no reply") << QByteArray("R") << QByteArray();
        QTest::newRow("unknown letter") << QByteArray("Z") << QByteArray("?\r");
        QTest::newRow("letter with extra") << QByteArray("PP") << QByteArray("?\r");
        QTest::newRow("write") << QByteArray("W=340,0123ABCD,0000") << QByteArray("OK\r");
        QTest::newRow("write slot 0") << QByteArray("W=000,0123ABCD,0000") << QByteArray("?\r");
        QTest::newRow("write slot 341") << QByteArray("V=341,0123ABCD,0000") << QByteArray("?\r");
        QTest::newRow("write not hex") << QByteArray("W=001,0123ABCG,0000") << QByteArray("?\r");
        QTest::newRow("write short") << QByteArray("W=001,0123ABC,0000") << QByteArray("?\r");
        QTest::newRow("write no commas") << QByteArray("W=001;0123ABCD;0000") << QByteArray("?\r");
        QTest::newRow("write slot not digits")
            << QByteArray("W=0x1,0123ABCD,0000") << QByteArray("?\r");
    }
    void replies() {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, reply);
        ProgrammerModel model;
        QCOMPARE(exchange(model, command), reply);
        QCOMPARE(model.commands(), QList<QByteArray>{command.mid(command.startsWith('\n'))});
    }

    void commandSplitAcrossChunksAndEmptyLinesIgnored() {
        ProgrammerModel model;
        QCOMPARE(textOf(model.receive("\r\rW=00")), QByteArray());
        QCOMPARE(textOf(model.receive("7,0000001a,AB12\r")), QByteArray("OK\r"));
        QCOMPARE(model.receiver().slot(7), (Slot{"0000001A", "AB12"}));
        QCOMPARE(model.commands().size(), 1);
    }

    void writeThenReadEachMemory() {
        ProgrammerModel model;
        QCOMPARE(exchange(model, "W=007,0000001A,AB12"), QByteArray("OK\r"));
        QCOMPARE(exchange(model, "V=085,FFFFFFFF,0001"), QByteArray("OK\r"));
        const QList<QByteArray> rx = lines(exchange(model, "D"));
        QCOMPARE(rx.size(), 341);
        QCOMPARE(rx.at(6), QByteArray("007 0000001A AB12"));
        QCOMPARE(rx.at(6).mid(4, 8), QByteArray("0000001A")); // positions 5-12
        QCOMPARE(rx.at(6).mid(13, 4), QByteArray("AB12"));    // positions 14-17
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
        exchange(model, "W=200,00000200,0000");
        exchange(model, "W=085,00000085,0000");
        exchange(model, "F");
        exchange(model, "H");
        QCOMPARE(lines(exchange(model, "D")).size(), 86);
        QCOMPARE(lines(exchange(model, "C")).size(), 86);
        QCOMPARE(exchange(model, "W=086,00000086,0000"), QByteArray("?\r"));
        exchange(model, "E");
        QCOMPARE(lines(exchange(model, "D")).size(), 341);
        QVERIFY(model.receiver().slot(200).isEmpty()); // dropped by the 85-slot size
        QCOMPARE(model.receiver().slot(85).serial, QByteArray("00000085"));
    }

    void readErrorAtSlot() {
        ProgrammerModel model({.readErrorAt = 3});
        QCOMPARE(lines(exchange(model, "D")),
                 (QList<QByteArray>{"001 00000000 0000", "002 00000000 0000", "?"}));
    }

    void faults_data() {
        QTest::addColumn<ProgrammerOptions>("options");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<double>("lastPause");
        QTest::addColumn<int>("lastKind");
        QTest::newRow("silent") << ProgrammerOptions{.silent = true} << QByteArray("P")
                                << QByteArray() << -1.0 << -1;
        QTest::newRow("echo") << ProgrammerOptions{.echo = true} << QByteArray("K")
                              << QByteArray("K\rOK\r") << 0.0 << int(Output::Text);
        QTest::newRow("lower-case ident") << ProgrammerOptions{.lowercase = true} << QByteArray("P")
                                          << QByteArray("zepro v2.4\r") << 0.0 << int(Output::Text);
        QTest::newRow("lower-case ok") << ProgrammerOptions{.lowercase = true} << QByteArray("E")
                                       << QByteArray("ok\r") << 0.0 << int(Output::Text);
        QTest::newRow("crlf") << ProgrammerOptions{.crlf = true} << QByteArray("G")
                              << QByteArray("OK\r\n") << 0.0 << int(Output::Text);
        QTest::newRow("no final cr") << ProgrammerOptions{.noFinalCr = true} << QByteArray("L")
                                     << QByteArray("OK") << 0.0 << int(Output::Text);
        QTest::newRow("ack delay on clear") << ProgrammerOptions{.ackDelay = 3} << QByteArray("K")
                                            << QByteArray("OK\r") << 3.0 << int(Output::Text);
        QTest::newRow("ack delay on write")
            << ProgrammerOptions{.ackDelay = 3} << QByteArray("V=001,00000001,0000")
            << QByteArray("OK\r") << 3.0 << int(Output::Text);
        QTest::newRow("no ack delay on identify")
            << ProgrammerOptions{.ackDelay = 3} << QByteArray("P") << QByteArray("ZEPRO V2.4\r")
            << 0.0 << int(Output::Text);
        QTest::newRow("endless") << ProgrammerOptions{.endless = true} << QByteArray("E")
                                 << QByteArray() << 0.0 << int(Output::Endless);
        QTest::newRow("hang up on letter") << ProgrammerOptions{.hangUpOn = 'k'} << QByteArray("K")
                                           << QByteArray() << 0.0 << int(Output::HangUp);
        QTest::newRow("hang up after one")
            << ProgrammerOptions{.hangUpAfter = 1} << QByteArray("P") << QByteArray("ZEPRO V2.4\r")
            << 0.2 << int(Output::HangUp);
        QTest::newRow("version text") << ProgrammerOptions{.versionText = "3.0b"} << QByteArray("P")
                                      << QByteArray("ZEPRO V3.0b\r") << 0.0 << int(Output::Text);
    }
    void faults() {
        QFETCH(ProgrammerOptions, options);
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, reply);
        QFETCH(double, lastPause);
        QFETCH(int, lastKind);
        ProgrammerModel model(options);
        const Outputs outputs = model.receive(command + '\r');
        QCOMPARE(textOf(outputs), reply);
        if (lastKind < 0) {
            QVERIFY(outputs.isEmpty());
            return;
        }
        QCOMPARE(int(outputs.last().kind), lastKind);
        QCOMPARE(outputs.last().pause, lastPause);
    }

    void hangUpComesOnlyAfterTheNthCommand() {
        ProgrammerModel model({.hangUpAfter = 2});
        QCOMPARE(model.receive("P\r").last().kind, Output::Text);
        QCOMPARE(model.receive("P\r").last().kind, Output::HangUp);
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
        SlotMemory rx;
        SlotMemory tag;
        rx.setSlot(7, {"0000001A", "AB12"});
        tag.setSize(SlotMemory::SmallSize);
        tag.setSlot(85, {"FFFFFFFF", "0001"});
        QCOMPARE(saveState(path, rx, tag), QString());
        SlotMemory rx2;
        SlotMemory tag2;
        QCOMPARE(loadState(path, rx2, tag2), QString());
        QCOMPARE(rx2, rx);
        QCOMPARE(tag2, tag);

        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        file.write("slot tag 86 00000001 0000\n"); // beyond the 85-slot tag
        file.close();
        SlotMemory rx3;
        rx3.setSlot(1, {"00000001", "0000"});
        SlotMemory tag3;
        QVERIFY(loadState(path, rx3, tag3).contains("line"));
        QCOMPARE(rx3.slot(1).serial, QByteArray("00000001")); // unchanged
        QVERIFY(!loadState(dir.filePath("missing"), rx3, tag3).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSimModel)
#include "test_sim_model.moc"
