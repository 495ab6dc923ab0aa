#include "platform/fakes/fakeserialport.h"
#include "platform/fakes/faketimeline.h"
#include "sim/inprocessprogrammer.h"

#include <QTest>

using namespace sim;
using platform::FakeSerialPort;
using platform::FakeTimeline;

namespace {

const QByteArray Ident = "ZEPRO V2.4\r";

// A programmer on port 1 of a fake port table, with the port open; a hang-up closes the port.
struct Bench {
    explicit Bench(ProgrammerOptions options = {}, bool pacing = true)
        : programmer(timeline, std::move(options), pacing) {
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

class TestSimInProcess : public QObject {
    Q_OBJECT
private slots:
    void fullReadTakesTheWireTime() {
        Bench bench;
        // 2 characters in, then 340 lines of 18 and "OK" CR out, at 10 bits per character.
        const double wire = (2 + 340 * 18 + 3) * WireCharSeconds;
        const QByteArray partial = bench.command("D", wire - WireCharSeconds / 2);
        QCOMPARE(partial.size(), 340 * 18 + 2); // the last character is still on its way
        const QByteArray reply = partial + bench.after(WireCharSeconds);
        QCOMPARE(reply.size(), 340 * 18 + 3);
        QVERIFY(reply.endsWith("340 00000000 0000\rOK\r"));
    }

    void withoutPacingRepliesComeAtOnce() {
        Bench bench({}, false);
        QCOMPARE(bench.command("E", 0.0), QByteArray("OK\r"));
        QCOMPARE(bench.programmer.model().commands(), QList<QByteArray>{"E"});
    }

    void closingDropsWhatIsStillOnItsWay() {
        Bench bench;
        bench.command("D", 1.0);
        bench.port.close();
        bench.port.open();
        QCOMPARE(bench.after(10.0), QByteArray());
        QCOMPARE(bench.command("P", 0.1), Ident);
    }

    void hangUpAfterTheReplyClosesThePort() {
        Bench bench({.hangUpAfter = 1});
        QCOMPARE(bench.command("P", 0.1), Ident);
        QVERIFY(bench.port.isOpen());
        bench.timeline.advance(0.2);
        QVERIFY(bench.programmer.hungUp());
        QVERIFY(!bench.port.isOpen());
        QVERIFY_THROWS_EXCEPTION(platform::PortError, bench.port.open());
    }

    void endlessStreamKeepsComing() {
        Bench bench({.endless = true});
        const QByteArray first = bench.command("K", 1.0);
        QVERIFY(first.size() > 900 && !first.contains('\r'));
        QVERIFY(bench.after(1.0).size() > 900);
    }

    void floodAndDrip() {
        Bench flood({.floodAfter = 'K'});
        const QByteArray first = flood.command("K", 0.05);
        QVERIFY(first.startsWith("OK\r....") && first.size() > 40 * 4096);
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

QTEST_GUILESS_MAIN(TestSimInProcess)
#include "test_sim_inprocess.moc"
