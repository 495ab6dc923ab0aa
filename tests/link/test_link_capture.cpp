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
    void showsLines_data();
    void showsLines();
    void dropsLineCompletedInTheTurnOfTheStop();
    void switchOffWait_data();
    void switchOffWait();
    void portThatCannotOpen();
    void endsOnPortFailureWithoutSwitchingOff_data();
    void endsOnPortFailureWithoutSwitchingOff();
    void refusesSecondStartAndWaitsWithoutSpinning();
};

void TestLinkCapture::showsLines_data() {
    QTest::addColumn<Pieces>("lines"); // answer to "R"; the user stops 10 s after the command
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("CR-only line shown empty")
        << Pieces{{0.2, "ABC\r"}, {0.3, "\r"}} << QStringList{"", "ABC", "", "", ""};
    QTest::newRow("LF after CR starts the next line")
        << Pieces{{0.2, "ONE\r\nTWO\r"}} << QStringList{"", "ONE", "", "\nTWO", ""};
    QTest::newRow("second quick line replaces the first")
        << Pieces{{0.2, "A1\rB2\r"}} << QStringList{"", "A1", "", "B2", ""};
    QTest::newRow("partial line dropped at stop")
        << Pieces{{0.2, "L1\rPART"}, {12.0, "IAL\r"}} << QStringList{"", "L1", ""};
    QTest::newRow("silent programmer") << Pieces{} << QStringList{""};
}

void TestLinkCapture::showsLines() {
    QFETCH(Pieces, lines);
    QFETCH(QStringList, shown);

    LinkRig rig;
    platform::ScriptedDevice &programmer = rig.device(3);
    programmer.answer("R", lines);
    programmer.answer("Q", {{0.1, "OFF\r"}});
    proglink::InternalReceiverCapture capture;
    const double start = rig.timeline.now();
    rig.timeline.at(start + 10.0, [&] { capture.requestStop(); });

    capture.run(rig.context, rig.view, 3, rig.buffer);

    QCOMPARE(rig.view.replyTexts, shown);
    QCOMPARE(rig.port.writes(), OnAndOff);
    QCOMPARE(rig.view.status(), CommsOk);
    // One "Communications OK" per line shown, one for the answer to "Q".
    QCOMPARE(rig.view.statusTexts.size(), int(shown.size() - 1) / 2 + 1);
    QVERIFY(!rig.port.isOpen());
    QVERIFY(!capture.isRunning());
    QCOMPARE(capture.EnableRX, 0);
}

void TestLinkCapture::dropsLineCompletedInTheTurnOfTheStop() {
    LinkRig rig;
    platform::ScriptedDevice &programmer = rig.device(1);
    programmer.answer("R", {{0.2, "FIRST\r\r"}});
    programmer.answer("Q", "OK\r");
    proglink::InternalReceiverCapture capture;
    // The user stops as the first line appears; the stop runs in the next turn's yield, just
    // before the second line, a CR alone, is read.
    rig.view.onReplyText = [&](const QString &text) {
        if (text == "FIRST")
            rig.timeline.at(rig.timeline.now(), [&] { capture.requestStop(); });
    };
    // Keeps the test from hanging should the stop be missed.
    rig.timeline.after(30.0, [&] { capture.requestStop(); });

    capture.run(rig.context, rig.view, 1, rig.buffer);

    QCOMPARE(rig.view.replyTexts, (QStringList{"", "FIRST", ""}));
    QCOMPARE(rig.port.writes(), OnAndOff);
}

void TestLinkCapture::switchOffWait_data() {
    QTest::addColumn<Pieces>("answer"); // answer to "Q"
    QTest::addColumn<QString>("status");
    QTest::addColumn<double>("duration"); // from "Q" to the end of the mode

    QTest::newRow("no answer") << Pieces{} << CommsError << 2.0;
    QTest::newRow("any text ended by CR") << Pieces{{0.5, "whatever\r"}} << CommsOk << 0.5;
    QTest::newRow("slow characters keep the wait going")
        << Pieces{{1.5, "O"}, {1.5, "K"}, {1.5, "\r"}} << CommsOk << 4.5;
    QTest::newRow("no CR") << Pieces{{1.5, "OK"}} << CommsError << 3.5;
}

void TestLinkCapture::switchOffWait() {
    QFETCH(Pieces, answer);
    QFETCH(QString, status);
    QFETCH(double, duration);

    LinkRig rig;
    rig.device(1).answer("Q", answer);
    proglink::InternalReceiverCapture capture;
    const double stop = rig.timeline.now() + 3.0;
    rig.timeline.at(stop, [&] { capture.requestStop(); });

    capture.run(rig.context, rig.view, 1, rig.buffer);

    QCOMPARE(rig.view.status(), status);
    QCOMPARE(rig.view.replyTexts, QStringList{""}); // the answer to "Q" is never shown
    QVERIFY(qAbs(rig.timeline.now() - stop - duration) < 1e-9);
    QVERIFY(!rig.port.isOpen());
}

void TestLinkCapture::portThatCannotOpen() {
    LinkRig rig;
    rig.port.holdElsewhere(2);
    proglink::InternalReceiverCapture capture;
    const double start = rig.timeline.now();

    capture.run(rig.context, rig.view, 2, rig.buffer);

    QCOMPARE(rig.view.statusTexts, QStringList{CommsError});
    QCOMPARE(rig.timeline.now(), start);
    QVERIFY(rig.port.writes().isEmpty());
    QCOMPARE(rig.view.replyText, QString("before"));
    QVERIFY(!capture.isRunning());
}

void TestLinkCapture::endsOnPortFailureWithoutSwitchingOff_data() {
    QTest::addColumn<bool>("overlongLine");
    QTest::newRow("line longer than the buffer") << true;
    QTest::newRow("device vanishes") << false;
}

void TestLinkCapture::endsOnPortFailureWithoutSwitchingOff() {
    QFETCH(bool, overlongLine);

    LinkRig rig;
    StreamingDevice programmer(rig.timeline, QByteArray(1000, 'y'));
    rig.port.addPort(1, &programmer);
    proglink::InternalReceiverCapture capture;
    if (!overlongLine)
        rig.timeline.after(2.0, [&] { rig.port.hangUp(); });
    // Should the mode not end by itself, the user stops it much later.
    rig.timeline.after(60.0, [&] { capture.requestStop(); });

    capture.run(rig.context, rig.view, 1, rig.buffer);

    QCOMPARE(rig.view.status(), CommsError);
    QCOMPARE(programmer.receivedBytes, QByteArray("R\r"));
    QVERIFY(!rig.port.isOpen());
    QVERIFY(rig.timeline.now() - 1000.0 < 9.0);
}

void TestLinkCapture::refusesSecondStartAndWaitsWithoutSpinning() {
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
    // Listening blocks in the event loop: a handful of turns per second, not thousands.
    QVERIFY(rig.timeline.yieldCount() < 2000);
}

QTEST_GUILESS_MAIN(TestLinkCapture)
#include "test_link_capture.moc"
