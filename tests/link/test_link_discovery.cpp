#include "link/discovery.h"
#include "linkrig.h"

#include <QTest>

using Op = platform::FakeSerialPort::Operation;

namespace {

const QString Searching = "Searching for Remlet Manager";

QList<int> closedPorts(const platform::FakeSerialPort &port) {
    QList<int> result;
    for (const Op &op : port.operations())
        if (op.kind == Op::Close)
            result.append(op.port);
    return result;
}

} // namespace

class TestLinkDiscovery : public QObject {
    Q_OBJECT

private slots:
    void finds_data() {
        QTest::addColumn<int>("found");
        QTest::addColumn<QList<int>>("held");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("line");
        QTest::newRow("port 1") << 1 << QList<int>{} << QByteArray("ZEPRO V1.2\r") << "ZEPRO V1.2";
        // Ports 1 to 4 do not exist: they fail at once.
        QTest::newRow("port 5") << 5 << QList<int>{} << QByteArray("ZEPRO V1.2\r") << "ZEPRO V1.2";
        QTest::newRow("lower case as received")
            << 1 << QList<int>{} << QByteArray("zepro v3 Rev b\r") << "zepro v3 Rev b";
        QTest::newRow("more after the line")
            << 1 << QList<int>{} << QByteArray("ZEPRO V1\rSTRAY\r") << "ZEPRO V1";
        QTest::newRow("held ports skipped")
            << 3 << QList<int>{1, 2} << QByteArray("ZEPRO V1\r") << "ZEPRO V1";
    }
    void finds() {
        QFETCH(int, found);
        QFETCH(QList<int>, held);
        QFETCH(QByteArray, reply);
        QFETCH(QString, line);
        LinkRig rig;
        rig.device(found).answer("P", reply);
        rig.device(found + 1).answer("P", "ZEPRO V9\r");
        for (int number : held)
            rig.port.holdElsewhere(number);

        const auto result = proglink::discoverProgrammer(rig.context, rig.view, rig.buffer);

        QVERIFY(result.found);
        QCOMPARE(result.port, found);
        QCOMPARE(result.identification, line);
        QCOMPARE(rig.view.replyTexts, QStringList{line});
        QCOMPARE(rig.view.statusTexts,
                 (QStringList{Searching, QString("Found Remlet Manager on Port %1").arg(found)}));
        QCOMPARE(rig.port.openedPorts(), QList<int>{found});
        QCOMPARE(rig.port.writes(), (QList<QByteArray>{"P", "\r"}));
        QVERIFY(!rig.port.isOpen());
        QVERIFY(qAbs(rig.elapsed() - 0.01) < 1e-9); // settling only: accepted at the CR
    }

    void rejectsOtherDeviceThenStartsAfresh() {
        LinkRig rig;
        rig.device(2).answer("P", {{0.3, "AT P ECHO FROM A MODEM\r"}});
        rig.device(3).answer("P", "ZEPRO V2\r");
        const auto result = proglink::discoverProgrammer(rig.context, rig.view, rig.buffer);
        QCOMPARE(result.port, 3);
        QCOMPARE(result.identification, QString("ZEPRO V2"));
        QCOMPARE(closedPorts(rig.port), (QList<int>{2, 3}));
        // Port 2: settling, the echo, a full second of silence; port 3: settling.
        QVERIFY(qAbs(rig.elapsed() - (0.01 + 0.3 + 1.0 + 0.01)) < 1e-9);
    }

    void cutsOffEndlessSender() {
        LinkRig rig;
        StreamingDevice chatterbox(rig.timeline, QByteArray(1000, 'x'));
        rig.port.addPort(1, &chatterbox);
        rig.device(2).answer("P", "ZEPRO V1\r");
        QCOMPARE(proglink::discoverProgrammer(rig.context, rig.view, rig.buffer).port, 2);
        QCOMPARE(closedPorts(rig.port), (QList<int>{1, 2}));
        QVERIFY(rig.elapsed() < 8.5); // 80 chunks fill the buffer
    }

    void notFound() {
        LinkRig rig;
        rig.port.addPort(4); // nothing connected
        auto result = proglink::discoverProgrammer(rig.context, rig.view, rig.buffer);
        QVERIFY(!result.found);
        QCOMPARE(rig.view.statusTexts, (QStringList{Searching, "Cannot Find Remlet Manager"}));
        QVERIFY(rig.view.replyTexts.isEmpty());
        QVERIFY(qAbs(rig.elapsed() - 1.01) < 1e-9);

        // A port already open (capture mode holds it) makes every number skipped.
        rig.device(1).answer("P", "ZEPRO V1\r");
        rig.port.selectPort(4);
        rig.port.open();
        rig.port.clearLog();
        result = proglink::discoverProgrammer(rig.context, rig.view, rig.buffer);
        QVERIFY(!result.found);
        QVERIFY(rig.port.operations().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestLinkDiscovery)
#include "test_link_discovery.moc"
