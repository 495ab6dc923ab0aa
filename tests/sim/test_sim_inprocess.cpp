#include "platform/fakes/fakeserialport.h"
#include "platform/fakes/faketimeline.h"
#include "sim/inprocessprogrammer.h"

#include <QTest>
#include <memory>

using namespace sim;
using platform::FakeSerialPort;
using platform::FakeTimeline;

namespace {

// A programmer on port 1 of a fake port table, with the port open.
struct Bench {
    explicit Bench(ProgrammerOptions options = {}, bool pacing = true)
        : programmer(timeline, std::move(options), pacing) {
        port.addPort(1, &programmer);
        port.selectPort(1);
        port.open();
    }
    // Writes the command as the PC does: the letter (with its fields), then CR.
    void command(const QByteArray &text) {
        port.write(text);
        port.write("\r");
    }

    FakeTimeline timeline;
    FakeSerialPort port;
    InProcessProgrammer programmer;
};

} // namespace

class TestSimInProcess : public QObject {
    Q_OBJECT
private slots:
    void fullReadTakesTheWireTime() {
        Bench bench;
        const double start = bench.timeline.now();
        bench.command("D");
        // 2 characters in, then 340 lines of 18 and "OK" CR out, at 10 bits per character.
        const double expected = (2 + 340 * 18 + 3) * WireCharSeconds;
        bench.timeline.advance(expected - WireCharSeconds / 2);
        const QByteArray partial = bench.port.read();
        QCOMPARE(partial.size(), 340 * 18 + 2);
        bench.timeline.advance(WireCharSeconds);
        const QByteArray reply = partial + bench.port.read();
        QCOMPARE(reply.size(), 340 * 18 + 3);
        QVERIFY(reply.endsWith("340 00000000 0000\rOK\r"));
        QVERIFY(bench.timeline.now() - start < 7.0);
    }

    void charactersArriveOneAtATime() {
        Bench bench;
        bench.command("P");
        bench.timeline.advance(3 * WireCharSeconds - 1e-9); // "P", CR in; "Z" not yet out
        QCOMPARE(bench.port.read(), QByteArray());
        bench.timeline.advance(WireCharSeconds);
        QCOMPARE(bench.port.read(), QByteArray("Z"));
    }

    void withoutPacingRepliesComeAtOnce() {
        Bench bench({}, false);
        bench.command("E");
        bench.timeline.yield();
        QCOMPARE(bench.port.read(), QByteArray("OK\r"));
        QCOMPARE(bench.programmer.model().commands(), QList<QByteArray>{"E"});
    }

    void ackDelayHoldsTheOk() {
        Bench bench({.ackDelay = 3.0});
        bench.command("Y");
        bench.timeline.advance(3.0);
        QCOMPARE(bench.port.read(), QByteArray());
        bench.timeline.advance(0.01);
        QCOMPARE(bench.port.read(), QByteArray("OK\r"));
    }

    void closingDropsWhatIsStillOnItsWay() {
        Bench bench;
        bench.command("D");
        bench.timeline.advance(1.0);
        bench.port.close();
        bench.port.open();
        bench.timeline.advance(10.0);
        QCOMPARE(bench.port.read(), QByteArray());
        bench.command("P");
        bench.timeline.advance(0.1);
        QCOMPARE(bench.port.read(), QByteArray("ZEPRO V2.4\r"));
    }

    void hangUpAfterTheReplyClosesThePort() {
        Bench bench({.hangUpAfter = 1});
        bench.programmer.setHangUpHandler([&] { bench.port.hangUp(); });
        bench.command("P");
        bench.timeline.advance(0.1);
        QCOMPARE(bench.port.read(), QByteArray("ZEPRO V2.4\r"));
        bench.timeline.advance(0.2);
        QVERIFY(bench.programmer.hungUp());
        QVERIFY(!bench.port.isOpen());
        QVERIFY_THROWS_EXCEPTION(platform::PortError, bench.port.open());
    }

    void endlessStreamKeepsComing() {
        Bench bench({.endless = true});
        bench.command("K");
        bench.timeline.advance(1.0);
        const QByteArray first = bench.port.read();
        QVERIFY(first.size() > 900);
        QVERIFY(!first.contains('\r'));
        bench.timeline.advance(1.0);
        QVERIFY(bench.port.read().size() > 900);
    }

    void captureLinesWhileReceiverOn() {
        Bench bench;
        bench.programmer.setCaptureEvery(5.0);
        bench.programmer.pressFob("RX early"); // receiver still off
        bench.command("R");
        bench.timeline.advance(5.5);
        QCOMPARE(bench.port.read(), QByteArray("RX 00000001\r"));
        bench.programmer.pressFob("RX 12345678");
        bench.timeline.advance(0.1);
        QCOMPARE(bench.port.read(), QByteArray("RX 12345678\r"));
        bench.command("Q");
        bench.timeline.advance(0.1);
        QCOMPARE(bench.port.read(), QByteArray("OK\r"));
        bench.timeline.advance(20.0);
        QCOMPARE(bench.port.read(), QByteArray());
        QVERIFY(!bench.timeline.hasPendingActions());
    }
};

QTEST_GUILESS_MAIN(TestSimInProcess)
#include "test_sim_inprocess.moc"
