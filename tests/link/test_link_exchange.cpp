#include "link/devicecommands.h"
#include "link/memorysize.h"
#include "link/portpreparation.h"
#include "link/replycollector.h"
#include "link/standardexchange.h"
#include "linkrig.h"

#include <QTest>

using platform::FakeSerialPort;
using platform::MessageIcon;
using proglink::DeviceCommand;
using proglink::MemorySize;

class TestLinkExchange : public QObject {
    Q_OBJECT

private slots:
    void collectorTimingAndFraming_data();
    void collectorTimingAndFraming();
    void exchangeSequenceAndMessages();
    void exchangeSurvivesVanishedDevice();
    void exchangePreparationFailureReachesCaller();
    void memorySizeCommands_data();
    void memorySizeCommands();
    void memorySizeWithoutProgrammerOrPort();
    void deviceCommands_data();
    void deviceCommands();
};

void TestLinkExchange::collectorTimingAndFraming_data() {
    QTest::addColumn<Pieces>("reply");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<double>("elapsed"); // from the command's CR to the collector's answer
    QTest::addColumn<int>("leftUnread");

    QTest::newRow("pieces with pauses under T")
        << Pieces{{0.5, "O"}, {1.9, "K"}, {1.9, "\r"}} << true << 4.3 << 0;
    QTest::newRow("pause of T before CR") << Pieces{{0.0, "OK"}, {2.0, "\r"}} << false << 2.0 << 1;
    QTest::newRow("lower case") << Pieces{{0.0, "ok\r"}} << true << 0.0 << 0;
    QTest::newRow("LF after CR left unread") << Pieces{{0.0, "OK\r\n"}} << true << 0.0 << 1;
    QTest::newRow("LF before OK") << Pieces{{0.0, "\nOK\r"}} << false << 2.0 << 0;
    QTest::newRow("echo before OK") << Pieces{{0.0, "K\rOK\r"}} << false << 2.0 << 0;
    QTest::newRow("OK without CR") << Pieces{{0.0, "OK"}} << false << 2.0 << 0;
    QTest::newRow("silence lasts exactly T") << Pieces{} << false << 2.0 << 0;
    QTest::newRow("late stray characters extend the wait")
        << Pieces{{0.0, "x"}, {1.5, "y"}} << false << 3.5 << 0;
}

void TestLinkExchange::collectorTimingAndFraming() {
    QFETCH(Pieces, reply);
    QFETCH(bool, accepted);
    QFETCH(double, elapsed);
    QFETCH(int, leftUnread);

    LinkRig rig;
    rig.device(1).answer("K", reply);
    proglink::preparePort(rig.port, 1);
    rig.port.write("K");
    rig.port.write("\r");
    const double start = rig.timeline.now();

    QCOMPARE(proglink::collectAcknowledgement(rig.context, 2.0), accepted);
    QVERIFY(qAbs(rig.timeline.now() - start - elapsed) < 1e-9);
    QCOMPARE(rig.port.pendingInput(), leftUnread);
}

void TestLinkExchange::exchangeSequenceAndMessages() {
    LinkRig rig;
    platform::ScriptedDevice &device = rig.device(3);
    device.answer("K", "OK\r");
    bool openDuringMessage = false;
    rig.dialogs.onMessage = [&](const auto &) { openDuringMessage = rig.port.isOpen(); };

    QVERIFY(proglink::runStandardExchange(rig.context, 3, {'K', 2, "done", "failed"}));

    using Op = FakeSerialPort::Operation;
    QList<Op::Kind> kinds;
    for (const Op &op : rig.port.operations())
        kinds.append(op.kind);
    QCOMPARE(kinds, (QList<Op::Kind>{Op::Select, Op::Settings, Op::ReadLength, Op::Open, Op::Flush,
                                     Op::Write, Op::Write, Op::Close}));
    QCOMPARE(rig.port.selectedPort(), 3);
    QCOMPARE(rig.port.settings(), QString("9600"));
    QCOMPARE(rig.port.readLength(), 1);
    QCOMPARE(rig.port.writes(), (QList<QByteArray>{"K", "\r"}));
    QCOMPARE(rig.dialogs.messages().size(), 1);
    QCOMPARE(rig.dialogs.messages()[0].text, QString("done"));
    QCOMPARE(rig.dialogs.messages()[0].caption, QString("RemletManager"));
    QCOMPARE(rig.dialogs.messages()[0].icon, MessageIcon::None);
    QVERIFY(openDuringMessage);
    QVERIFY(!rig.port.isOpen());

    // An already open port is used as it is, not opened again.
    rig.port.clearLog();
    rig.dialogs.clear();
    rig.port.selectPort(3);
    rig.port.open();
    QVERIFY(!proglink::runStandardExchange(rig.context, 3, {'Z', 2, "done", "failed"}));
    QCOMPARE(rig.port.openedPorts(), QList<int>{3});
    QCOMPARE(rig.dialogs.messages()[0].text, QString("failed"));
    QCOMPARE(rig.dialogs.messages()[0].icon, MessageIcon::Critical);
    QVERIFY(!rig.port.isOpen());
}

void TestLinkExchange::exchangeSurvivesVanishedDevice() {
    LinkRig rig;
    rig.device(1).answer("K", {{1.5, "OK\r"}});
    rig.timeline.after(0.5, [&] { rig.port.hangUp(); });

    QVERIFY(!proglink::runStandardExchange(rig.context, 1, {'K', 2, "done", "failed"}));
    QCOMPARE(rig.dialogs.texts(), QStringList{"failed"});
    QVERIFY(!rig.port.isOpen());
}

void TestLinkExchange::exchangePreparationFailureReachesCaller() {
    LinkRig rig;
    rig.port.holdElsewhere(2);
    QVERIFY_THROWS_EXCEPTION(platform::PortError,
                             proglink::runDeviceCommand(rig.context, 2, DeviceCommand::ClearTag));
    QVERIFY_THROWS_EXCEPTION(platform::PortError,
                             proglink::runDeviceCommand(rig.context, 9, DeviceCommand::ClearTag));
    QVERIFY(rig.dialogs.messages().isEmpty());
    QVERIFY(rig.port.writes().isEmpty());
}

void TestLinkExchange::memorySizeCommands_data() {
    QTest::addColumn<MemorySize>("size");
    QTest::addColumn<QByteArray>("letter");
    QTest::addColumn<QString>("success");
    QTest::addColumn<QString>("failure");

    const QString rxSet = "Receiver memory size set";
    const QString rxFailed = "Failed to set receiver memory size";
    const QString tagSet = "Backup tag size set";
    const QString tagFailed = "Failed to set backup tag memory size";
    QTest::newRow("receiver 340") << MemorySize::Receiver340 << QByteArray("E") << rxSet
                                  << rxFailed;
    QTest::newRow("receiver 85") << MemorySize::Receiver85 << QByteArray("F") << rxSet << rxFailed;
    QTest::newRow("tag 340") << MemorySize::Tag340 << QByteArray("G") << tagSet << tagFailed;
    QTest::newRow("tag 85") << MemorySize::Tag85 << QByteArray("H") << tagSet << tagFailed;
}

void TestLinkExchange::memorySizeCommands() {
    QFETCH(MemorySize, size);
    QFETCH(QByteArray, letter);
    QFETCH(QString, success);
    QFETCH(QString, failure);

    LinkRig rig;
    platform::ScriptedDevice &device = rig.device(4);
    device.answer(letter, "ok\r");
    proglink::runMemorySizeCommand(rig.context, 4, size);
    QCOMPARE(rig.port.writes(), (QList<QByteArray>{letter, "\r"}));
    QCOMPARE(rig.dialogs.texts(), QStringList{success});
    QCOMPARE(rig.dialogs.messages()[0].icon, MessageIcon::None);

    // Unanswered: the failure message after 2 seconds of silence.
    device.answer(letter, Pieces{});
    rig.dialogs.clear();
    const double start = rig.timeline.now();
    proglink::runMemorySizeCommand(rig.context, 4, size);
    QVERIFY(qAbs(rig.timeline.now() - start - 2.0) < 1e-9);
    QCOMPARE(rig.dialogs.texts(), QStringList{failure});
    QCOMPARE(rig.dialogs.messages()[0].icon, MessageIcon::Critical);
    QVERIFY(!rig.port.isOpen());
}

void TestLinkExchange::memorySizeWithoutProgrammerOrPort() {
    LinkRig rig;
    rig.device(1).answer("E", "OK\r");

    proglink::runMemorySizeCommand(rig.context, 0, MemorySize::Receiver340);
    QVERIFY(rig.port.operations().isEmpty());

    rig.port.holdElsewhere(2);
    proglink::runMemorySizeCommand(rig.context, 2, MemorySize::Receiver340);
    proglink::runMemorySizeCommand(rig.context, 7, MemorySize::Tag85);
    QVERIFY(rig.port.writes().isEmpty());
    QVERIFY(rig.dialogs.messages().isEmpty());
}

void TestLinkExchange::deviceCommands_data() {
    QTest::addColumn<DeviceCommand>("command");
    QTest::addColumn<QByteArray>("letter");
    QTest::addColumn<double>("limit");
    QTest::addColumn<QString>("success");
    QTest::addColumn<QString>("failure");

    QTest::newRow("clear receiver")
        << DeviceCommand::ClearReceiver << QByteArray("K") << 2.0 << "Receiver Cleared"
        << "Failed to clear Receiver";
    QTest::newRow("clear tag") << DeviceCommand::ClearTag << QByteArray("L") << 2.0
                               << "Backup Tag Cleared"
                               << "Failed to clear Tag";
    QTest::newRow("copy receiver to tag") << DeviceCommand::CopyReceiverToTag << QByteArray("Y")
                                          << 8.0 << "Copied from Receiver to Tag"
                                          << "Failed to copy data";
    QTest::newRow("copy tag to receiver") << DeviceCommand::CopyTagToReceiver << QByteArray("X")
                                          << 8.0 << "Copied from Tag to Receiver"
                                          << "Failed to copy data";
}

void TestLinkExchange::deviceCommands() {
    QFETCH(DeviceCommand, command);
    QFETCH(QByteArray, letter);
    QFETCH(double, limit);
    QFETCH(QString, success);
    QFETCH(QString, failure);

    LinkRig rig;
    platform::ScriptedDevice &device = rig.device(2);

    // Acknowledged a second within the limit (a copy after 7 s), then a second beyond it.
    device.answer(letter, {{limit - 1, "OK\r"}});
    QVERIFY(proglink::runDeviceCommand(rig.context, 2, command));
    device.answer(letter, {{limit + 1, "OK\r"}});
    QVERIFY(!proglink::runDeviceCommand(rig.context, 2, command));

    QCOMPARE(device.commands(), (QList<QByteArray>{letter, letter}));
    QCOMPARE(rig.dialogs.texts(), (QStringList{success, failure}));
    QCOMPARE(rig.dialogs.messages()[1].icon, MessageIcon::Critical);
    QVERIFY(!rig.port.isOpen());
}

QTEST_GUILESS_MAIN(TestLinkExchange)
#include "test_link_exchange.moc"
