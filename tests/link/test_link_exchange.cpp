#include "link/devicecommands.h"
#include "link/memorysize.h"
#include "link/portpreparation.h"
#include "link/replycollector.h"
#include "link/standardexchange.h"
#include "linkrig.h"

#include <QTest>

using platform::MessageIcon;
using proglink::DeviceCommand;
using proglink::MemorySize;
using Op = platform::FakeSerialPort::Operation;

class TestLinkExchange : public QObject {
    Q_OBJECT

private slots:
    void collector_data() {
        QTest::addColumn<Pieces>("reply");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<double>("elapsed");
        QTest::addColumn<int>("leftUnread");
        QTest::newRow("pauses under T")
            << Pieces{{0.5, "O"}, {1.9, "K"}, {1.9, "\r"}} << true << 4.3 << 0;
        QTest::newRow("pause of T before CR")
            << Pieces{{0, "OK"}, {2.0, "\r"}} << false << 2.0 << 1;
        QTest::newRow("lower case") << Pieces{{0, "ok\r"}} << true << 0.0 << 0;
        QTest::newRow("LF after CR unread") << Pieces{{0, "OK\r\n"}} << true << 0.0 << 1;
        QTest::newRow("LF before OK") << Pieces{{0, "\nOK\r"}} << false << 2.0 << 0;
        QTest::newRow("echo before OK") << Pieces{{0, "K\rOK\r"}} << false << 2.0 << 0;
        QTest::newRow("silence lasts T") << Pieces{} << false << 2.0 << 0;
        QTest::newRow("stray characters extend the wait")
            << Pieces{{0, "x"}, {1.5, "y"}} << false << 3.5 << 0;
    }
    void collector() {
        QFETCH(Pieces, reply);
        LinkRig rig;
        rig.device(1).answer("K", reply);
        proglink::preparePort(rig.port, 1);
        rig.port.write("K\r");
        QTEST(proglink::collectAcknowledgement(rig.context, 2.0), "accepted");
        QFETCH(double, elapsed);
        QVERIFY(qAbs(rig.elapsed() - elapsed) < 1e-9);
        QTEST(rig.port.pendingInput(), "leftUnread");
    }

    void exchangeSequence() {
        LinkRig rig;
        rig.device(3).answer("K", "OK\r");
        bool openDuringMessage = false;
        rig.dialogs.onMessage = [&](const auto &) { openDuringMessage = rig.port.isOpen(); };
        QVERIFY(proglink::runStandardExchange(rig.context, 3, {'K', 2, "done", "failed"}));

        QList<Op::Kind> kinds;
        for (const Op &op : rig.port.operations())
            kinds.append(op.kind);
        QCOMPARE(kinds, (QList<Op::Kind>{Op::Select, Op::Settings, Op::ReadLength, Op::Open,
                                         Op::Flush, Op::Write, Op::Write, Op::Close}));
        QCOMPARE(rig.port.settings(), QString("9600"));
        QCOMPARE(rig.port.readLength(), 1);
        QCOMPARE(rig.port.writes(), (QList<QByteArray>{"K", "\r"}));
        QCOMPARE(rig.dialogs.messages().size(), 1);
        QCOMPARE(rig.dialogs.messages()[0].caption, QString("RemletManager"));
        QCOMPARE(rig.dialogs.messages()[0].icon, MessageIcon::None);
        QVERIFY(openDuringMessage);
    }

    void exchangePortFailures() {
        LinkRig rig;
        rig.device(1).answer("K", {{1.5, "OK\r"}});
        rig.timeline.after(0.5, [&] { rig.port.hangUp(); });
        QVERIFY(!proglink::runStandardExchange(rig.context, 1, {'K', 2, "done", "failed"}));
        QCOMPARE(rig.dialogs.texts(), QStringList{"failed"});
        QCOMPARE(rig.dialogs.messages()[0].icon, MessageIcon::Critical);
        QVERIFY(!rig.port.isOpen());

        // Before anything is sent, the failure is the caller's to report.
        rig.port.holdElsewhere(2);
        QVERIFY_THROWS_EXCEPTION(platform::PortError, proglink::runDeviceCommand(
                                                          rig.context, 2, DeviceCommand::ClearTag));
        // Size commands end silently, and send nothing without a programmer.
        proglink::runMemorySizeCommand(rig.context, 2, MemorySize::Tag85);
        rig.port.clearLog();
        proglink::runMemorySizeCommand(rig.context, 0, MemorySize::Receiver85);
        QVERIFY(rig.port.operations().isEmpty());
        QCOMPARE(rig.dialogs.messages().size(), 1);
    }

    void commands_data() {
        QTest::addColumn<std::function<void(proglink::LinkContext &)>>("run");
        QTest::addColumn<QByteArray>("letter");
        QTest::addColumn<double>("limit");
        QTest::addColumn<QString>("success");
        QTest::addColumn<QString>("failure");
        const auto size = [](MemorySize s) {
            return std::function([s](proglink::LinkContext &c) { runMemorySizeCommand(c, 2, s); });
        };
        const auto device = [](DeviceCommand d) {
            return std::function([d](proglink::LinkContext &c) { runDeviceCommand(c, 2, d); });
        };
        const QString rxSet = "Receiver memory size set",
                      rxNo = "Failed to set receiver memory size";
        const QString tagSet = "Backup tag size set",
                      tagNo = "Failed to set backup tag memory size";
        QTest::newRow("E") << size(MemorySize::Receiver340) << QByteArray("E") << 2.0 << rxSet
                           << rxNo;
        QTest::newRow("F") << size(MemorySize::Receiver85) << QByteArray("F") << 2.0 << rxSet
                           << rxNo;
        QTest::newRow("G") << size(MemorySize::Tag340) << QByteArray("G") << 2.0 << tagSet << tagNo;
        QTest::newRow("H") << size(MemorySize::Tag85) << QByteArray("H") << 2.0 << tagSet << tagNo;
        QTest::newRow("K") << device(DeviceCommand::ClearReceiver) << QByteArray("K") << 2.0
                           << "Receiver Cleared"
                           << "Failed to clear Receiver";
        QTest::newRow("L") << device(DeviceCommand::ClearTag) << QByteArray("L") << 2.0
                           << "Backup Tag Cleared"
                           << "Failed to clear Tag";
        QTest::newRow("Y") << device(DeviceCommand::CopyReceiverToTag) << QByteArray("Y") << 8.0
                           << "Copied from Receiver to Tag"
                           << "Failed to copy data";
        QTest::newRow("X") << device(DeviceCommand::CopyTagToReceiver) << QByteArray("X") << 8.0
                           << "Copied from Tag to Receiver"
                           << "Failed to copy data";
    }
    // Acknowledged a second within the limit (a copy after 7 s), then a second beyond it.
    void commands() {
        QFETCH(std::function<void(proglink::LinkContext &)>, run);
        QFETCH(QByteArray, letter);
        QFETCH(double, limit);
        QFETCH(QString, success);
        QFETCH(QString, failure);
        LinkRig rig;
        platform::ScriptedDevice &programmer = rig.device(2);
        programmer.answer(letter, {{limit - 1, "ok\r"}});
        run(rig.context);
        programmer.answer(letter, {{limit + 1, "OK\r"}});
        run(rig.context);
        QCOMPARE(rig.port.writes(), (QList<QByteArray>{letter, "\r", letter, "\r"}));
        QCOMPARE(rig.dialogs.texts(), (QStringList{success, failure}));
        QCOMPARE(rig.dialogs.messages()[1].icon, MessageIcon::Critical);
        QVERIFY(!rig.port.isOpen());
    }
};

QTEST_GUILESS_MAIN(TestLinkExchange)
#include "test_link_exchange.moc"
