#include "link/discovery.h"
#include "linkrig.h"

#include <QTest>

using platform::FakeSerialPort;

namespace {

const QString Searching = "Searching for Remlet Manager";
const QString NotFound = "Cannot Find Remlet Manager";

// Port numbers on which the port was closed, in order.
QList<int> closedPorts(const FakeSerialPort &port) {
    QList<int> result;
    for (const FakeSerialPort::Operation &op : port.operations())
        if (op.kind == FakeSerialPort::Operation::Close)
            result.append(op.port);
    return result;
}

} // namespace

class TestLinkDiscovery : public QObject {
    Q_OBJECT

private slots:
    void findsProgrammer_data();
    void findsProgrammer();
    void rejectsOtherDeviceAndStartsAfreshOnNextPort();
    void cutsOffPortThatNeverStopsSending();
    void nothingAnswers();
    void openPortSkipsEveryNumber();
};

void TestLinkDiscovery::findsProgrammer_data() {
    QTest::addColumn<int>("programmerPort");
    QTest::addColumn<QList<int>>("heldElsewhere");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("identification");

    QTest::newRow("port 1") << 1 << QList<int>{} << QByteArray("ZEPRO V1.2\r") << "ZEPRO V1.2";
    // Ports 1 to 4 do not exist and fail at once.
    QTest::newRow("port 5") << 5 << QList<int>{} << QByteArray("ZEPRO V1.2\r") << "ZEPRO V1.2";
    QTest::newRow("lower case shown as received")
        << 1 << QList<int>{} << QByteArray("zepro v3 Rev b\r") << "zepro v3 Rev b";
    QTest::newRow("more characters after the line")
        << 1 << QList<int>{} << QByteArray("ZEPRO V1\rSTRAY\r") << "ZEPRO V1";
    QTest::newRow("port held elsewhere skipped")
        << 3 << QList<int>{1, 2} << QByteArray("ZEPRO V1\r") << "ZEPRO V1";
}

void TestLinkDiscovery::findsProgrammer() {
    QFETCH(int, programmerPort);
    QFETCH(QList<int>, heldElsewhere);
    QFETCH(QByteArray, reply);
    QFETCH(QString, identification);

    LinkRig rig;
    rig.device(programmerPort).answer("P", reply);
    rig.device(programmerPort + 1).answer("P", "ZEPRO V9\r");
    for (int number : heldElsewhere)
        rig.port.holdElsewhere(number);
    const double start = rig.timeline.now();

    const proglink::DiscoveryResult result =
        proglink::discoverProgrammer(rig.context, rig.view, rig.buffer);

    QVERIFY(result.found);
    QCOMPARE(result.port, programmerPort);
    QCOMPARE(result.identification, identification);
    QCOMPARE(rig.view.replyText, identification);
    QCOMPARE(
        rig.view.statusTexts,
        (QStringList{Searching, QString("Found Remlet Manager on Port %1").arg(programmerPort)}));
    QCOMPARE(rig.port.openedPorts(), QList<int>{programmerPort});
    QCOMPARE(rig.port.writes(), (QList<QByteArray>{"P", "\r"}));
    QCOMPARE(rig.port.settings(), QString("9600"));
    QCOMPARE(rig.port.readLength(), 1);
    QVERIFY(!rig.port.isOpen());
    // Accepted at the first CR: only the settling time has passed.
    QVERIFY(qAbs(rig.timeline.now() - start - 0.01) < 1e-9);
}

void TestLinkDiscovery::rejectsOtherDeviceAndStartsAfreshOnNextPort() {
    LinkRig rig;
    rig.device(2).answer("P", {{0.3, "AT P ECHO FROM A MODEM\r"}});
    rig.device(3).answer("P", "ZEPRO V2\r");
    const double start = rig.timeline.now();

    const proglink::DiscoveryResult result =
        proglink::discoverProgrammer(rig.context, rig.view, rig.buffer);

    QVERIFY(result.found);
    QCOMPARE(result.port, 3);
    QCOMPARE(result.identification, QString("ZEPRO V2"));
    QCOMPARE(rig.port.openedPorts(), (QList<int>{2, 3}));
    QCOMPARE(closedPorts(rig.port), (QList<int>{2, 3}));
    // Port 2: settling, the echo after 0.3 s, a full second of silence; port 3: settling.
    QVERIFY(qAbs(rig.timeline.now() - start - (0.01 + 0.3 + 1.0 + 0.01)) < 1e-9);
}

void TestLinkDiscovery::cutsOffPortThatNeverStopsSending() {
    LinkRig rig;
    StreamingDevice chatterbox(rig.timeline, QByteArray(1000, 'x'));
    rig.port.addPort(1, &chatterbox);
    rig.device(2).answer("P", "ZEPRO V1\r");

    const proglink::DiscoveryResult result =
        proglink::discoverProgrammer(rig.context, rig.view, rig.buffer);

    QVERIFY(result.found);
    QCOMPARE(result.port, 2);
    QCOMPARE(closedPorts(rig.port), (QList<int>{1, 2}));
    // Cut off at the buffer's end: 80 chunks, one every tenth of a second.
    QVERIFY(rig.timeline.now() - 1000.0 < 8.5);
    QCOMPARE(rig.buffer.at(proglink::ReplyBuffer::Size), 'x');
}

void TestLinkDiscovery::nothingAnswers() {
    LinkRig rig;
    rig.port.addPort(4); // exists, nothing connected
    const double start = rig.timeline.now();

    const proglink::DiscoveryResult result =
        proglink::discoverProgrammer(rig.context, rig.view, rig.buffer);

    QVERIFY(!result.found);
    QCOMPARE(result.port, 0);
    QCOMPARE(rig.view.statusTexts, (QStringList{Searching, NotFound}));
    QCOMPARE(rig.view.replyText, QString("before"));
    QCOMPARE(rig.port.openedPorts(), QList<int>{4});
    QVERIFY(!rig.port.isOpen());
    QVERIFY(qAbs(rig.timeline.now() - start - 1.01) < 1e-9);
}

void TestLinkDiscovery::openPortSkipsEveryNumber() {
    LinkRig rig;
    rig.device(1).answer("P", "ZEPRO V1\r");
    rig.port.addPort(7);
    rig.port.selectPort(7);
    rig.port.open();
    rig.port.clearLog();

    const proglink::DiscoveryResult result =
        proglink::discoverProgrammer(rig.context, rig.view, rig.buffer);

    QVERIFY(!result.found);
    QCOMPARE(rig.view.status(), NotFound);
    QVERIFY(rig.port.operations().isEmpty());
    QVERIFY(rig.port.isOpen());
}

QTEST_GUILESS_MAIN(TestLinkDiscovery)
#include "test_link_discovery.moc"
