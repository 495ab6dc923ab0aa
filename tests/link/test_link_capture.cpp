#include "link/capture.h"
#include "linkrig.h"

#include <QTest>

namespace {

const QString CommsOk = "Communications OK";
const QString CommsError = "Communications Error";
const QList<QByteArray> OnAndOff{"R", "\r", "Q", "\r"};

} // namespace

class TestLinkCapture : public QObject {
    Q_OBJECT

private slots:
    // The user stops the mode 10 s after it starts; the answer to "Q" is never shown.
    void showsLines_data() {
        QTest::addColumn<Pieces>("lines");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("CR-only line")
            << Pieces{{0.2, "ABC\r"}, {0.3, "\r"}} << QStringList{"", "ABC", "", "", ""};
        QTest::newRow("LF starts the next line")
            << Pieces{{0.2, "ONE\r\nTWO\r"}} << QStringList{"", "ONE", "", "\nTWO", ""};
        QTest::newRow("second quick line replaces the first")
            << Pieces{{0.2, "A1\rB2\r"}} << QStringList{"", "A1", "", "B2", ""};
        QTest::newRow("partial line dropped")
            << Pieces{{0.2, "L1\rPART"}, {12.0, "IAL\r"}} << QStringList{"", "L1", ""};
        QTest::newRow("silent programmer") << Pieces{} << QStringList{""};
    }
    void showsLines() {
        QFETCH(Pieces, lines);
        QFETCH(QStringList, shown);
        LinkRig rig;
        platform::ScriptedDevice &programmer = rig.device(3);
        programmer.answer("R", lines);
        programmer.answer("Q", {{0.1, "OFF\r"}});
        proglink::InternalReceiverCapture capture;
        rig.timeline.after(10.0, [&] { capture.requestStop(); });

        capture.run(rig.context, rig.view, 3, rig.buffer);

        QCOMPARE(rig.view.replyTexts, shown);
        QCOMPARE(rig.port.writes(), OnAndOff);
        // One "Communications OK" per line shown and one for the answer to "Q".
        QCOMPARE(rig.view.statusTexts, QStringList(int(shown.size() - 1) / 2 + 1, CommsOk));
        QVERIFY(!rig.port.isOpen());
        QVERIFY(!capture.isRunning());
    }

    void dropsLineCompletedAsUserStops() {
        LinkRig rig;
        platform::ScriptedDevice &programmer = rig.device(1);
        programmer.answer("R", {{0.2, "FIRST\r\r"}});
        programmer.answer("Q", "OK\r");
        proglink::InternalReceiverCapture capture;
        // The stop runs in the next turn's yield, just before that turn reads the lone CR.
        rig.view.onReplyText = [&](const QString &text) {
            if (text == "FIRST")
                rig.timeline.at(rig.timeline.now(), [&] { capture.requestStop(); });
        };
        rig.timeline.after(30.0, [&] { capture.requestStop(); }); // should the stop be missed
        capture.run(rig.context, rig.view, 1, rig.buffer);
        QCOMPARE(rig.view.replyTexts, (QStringList{"", "FIRST", ""}));
        QCOMPARE(rig.port.writes(), OnAndOff);
    }

    void switchOffWait_data() {
        QTest::addColumn<Pieces>("answer");
        QTest::addColumn<QString>("status");
        QTest::addColumn<double>("duration"); // from "Q" to the end of the mode
        QTest::newRow("no answer") << Pieces{} << CommsError << 2.0;
        QTest::newRow("any line") << Pieces{{0.5, "whatever\r"}} << CommsOk << 0.5;
        QTest::newRow("slow characters keep it going")
            << Pieces{{1.5, "O"}, {1.5, "K"}, {1.5, "\r"}} << CommsOk << 4.5;
        QTest::newRow("no CR") << Pieces{{1.5, "OK"}} << CommsError << 3.5;
    }
    void switchOffWait() {
        QFETCH(Pieces, answer);
        LinkRig rig;
        rig.device(1).answer("Q", answer);
        proglink::InternalReceiverCapture capture;
        rig.timeline.after(3.0, [&] { capture.requestStop(); });
        capture.run(rig.context, rig.view, 1, rig.buffer);
        QTEST(rig.view.statusTexts.last(), "status");
        QFETCH(double, duration);
        QVERIFY(qAbs(rig.elapsed() - 3.0 - duration) < 1e-9);
        QVERIFY(!rig.port.isOpen());
    }

    void portFailures_data() {
        QTest::addColumn<int>("failure");
        QTest::newRow("port cannot open") << 0;
        QTest::newRow("line longer than the buffer") << 1;
        QTest::newRow("device vanishes") << 2;
    }
    // The mode ends with "Communications Error" and without switching off.
    void portFailures() {
        QFETCH(int, failure);
        LinkRig rig;
        StreamingDevice programmer(rig.timeline, QByteArray(1000, 'y'));
        rig.port.addPort(1, &programmer);
        if (failure == 0)
            rig.port.holdElsewhere(1);
        if (failure == 2)
            rig.timeline.after(2.0, [&] { rig.port.hangUp(); });
        proglink::InternalReceiverCapture capture;
        rig.timeline.after(60.0, [&] { capture.requestStop(); }); // should it not end by itself

        capture.run(rig.context, rig.view, 1, rig.buffer);

        QCOMPARE(rig.view.statusTexts, QStringList{CommsError});
        QCOMPARE(programmer.receivedBytes, failure == 0 ? QByteArray() : QByteArray("R\r"));
        QVERIFY(!rig.port.isOpen());
        QVERIFY(rig.elapsed() < (failure == 0 ? 1e-9 : 9.0));
    }

    void refusesSecondStartAndDoesNotSpin() {
        LinkRig rig;
        platform::ScriptedDevice &programmer = rig.device(1);
        programmer.answer("Q", "OK\r");
        proglink::InternalReceiverCapture capture;
        bool runningInside = false;
        rig.timeline.after(5.0, [&] {
            runningInside = capture.isRunning();
            capture.run(rig.context, rig.view, 1, rig.buffer);
        });
        rig.timeline.after(500.0, [&] { capture.requestStop(); });
        capture.run(rig.context, rig.view, 1, rig.buffer);
        QVERIFY(runningInside);
        QCOMPARE(programmer.commands(), (QList<QByteArray>{"R", "Q"}));
        QVERIFY(rig.timeline.yieldCount() < 2000); // a few turns per second of listening
    }
};

QTEST_GUILESS_MAIN(TestLinkCapture)
#include "test_link_capture.moc"
