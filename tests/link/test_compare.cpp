// Comparing a receiver or tag with the database: the comparison of two stores and the read it
// rests on, against the simulated programmer in-process. The check after programming is the
// same read and comparison (test_app_programmer runs it through the window).
#include "link/compare.h"
#include "platform/fakes/fakedialogs.h"
#include "sim/inprocessprogrammer.h"
#include "tests/common/recordingview.h"
#include "userdb/databasefile.h"

#include <QTest>

using proglink::ComparisonOutcome;
using proglink::Device;
using QTest::addColumn;
using QTest::newRow;

namespace {

// slot -> "serial,aux"
using Slots = QMap<int, QString>;
const QString ReadError = "Communications error with reciever, please try again";

void fill(userdb::RecordStore &store, const Slots &values) {
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const QStringList cells = it.value().split(',');
        store.setCell(it.key(), userdb::SerialNumber, cells.value(0));
        store.setCell(it.key(), userdb::AuxiliaryWord, cells.value(1));
    }
}

// "slot database-serial database-aux device-serial device-aux" per difference.
QStringList listed(const QList<proglink::SlotDifference> &differences) {
    QStringList lines;
    for (const auto &d : differences)
        lines << QStringList{QString::number(d.slot), d.databaseSerial, d.databaseAux,
                             d.deviceSerial, d.deviceAux}
                     .join(' ');
    return lines;
}

// The simulated programmer on port 1 of a fake port table, paced at 9600 baud on the fake
// clock.
struct Rig : RecordingView {
    explicit Rig(sim::ProgrammerOptions options = {})
        : programmer(timeline, std::move(options)) {
        port.addPort(1, &programmer);
        programmer.setHangUpHandler([this] { port.hangUp(); });
    }
    // The device's memory: its size and the slots it holds.
    sim::SlotMemory &memory(Device device) {
        return device == Device::Receiver ? programmer.model().receiver()
                                          : programmer.model().tag();
    }

    platform::FakeTimeline timeline;
    platform::FakeSerialPort port;
    platform::FakeDialogs dialogs;
    sim::InProcessProgrammer programmer;
    proglink::LinkContext context{port, timeline, timeline, dialogs};
    proglink::ReplyBuffer buffer;
};

} // namespace

class TestCompare : public QObject {
    Q_OBJECT

private slots:
    void compareStores_data() {
        addColumn<Slots>("database");
        addColumn<Slots>("device");
        addColumn<int>("slotCount");
        addColumn<QStringList>("differences");
        const Slots two{{1, "0000ABCD,0001"}, {2, "12345678,A1B2"}};
        newRow("identical") << two << two << 340 << QStringList{};
        newRow("one serial differs") << two << Slots{{1, "0000ABCD,0001"}, {2, "12345679,A1B2"}}
                                     << 340 << QStringList{"2 12345678 A1B2 12345679 A1B2"};
        newRow("serial letter case only")
            << Slots{{3, "abcdef01,0000"}} << Slots{{3, "ABCDEF01,0000"}} << 340 << QStringList{};
        newRow("aux differs, letter case too")
            << Slots{{4, "00000004,a1b2"}, {5, "00000005,0001"}}
            << Slots{{4, "00000004,A1B2"}, {5, "00000005,0002"}} << 340
            << QStringList{"4 00000004 a1b2 00000004 A1B2", "5 00000005 0001 00000005 0002"};
        // An empty field is what Program sends for it; a slot the device did not report too.
        newRow("empty fields against zeros")
            << Slots{{6, ","}, {7, "00000000,"}, {8, ",0000"}}
            << Slots{{6, "00000000,0000"}, {8, "00000000,0000"}} << 340 << QStringList{};
        newRow("empty database against a filled device")
            << Slots{} << Slots{{9, "1234ABCD,0001"}} << 340
            << QStringList{"9 00000000 0000 1234ABCD 0001"};
        newRow("85 slots") << Slots{{85, "00000085,0000"}, {86, "00000086,0000"}} << Slots{} << 85
                           << QStringList{"85 00000085 0000 00000000 0000"};
    }
    void compareStores() {
        QFETCH(Slots, database);
        QFETCH(Slots, device);
        QFETCH(int, slotCount);
        userdb::RecordStore databaseStore, deviceStore;
        fill(databaseStore, database);
        fill(deviceStore, device);
        QTEST(listed(proglink::compareStores(databaseStore, deviceStore, slotCount)),
              "differences");
    }

    // An 85-slot device holding slots 1 to 3; the database holds `database`. The database
    // store is never written, whatever the read gives.
    void readAndCompare_data() {
        addColumn<Device>("device");
        addColumn<sim::ProgrammerOptions>("options");
        addColumn<Slots>("database");
        addColumn<ComparisonOutcome>("outcome");
        addColumn<QStringList>("differences");
        addColumn<double>("elapsed"); // simulated seconds
        const Slots held{{1, "00000001,0001"}, {2, "00000002,0002"}, {3, "00000003,0003"}};
        // 85 lines of 18 characters and "OK" CR at 9600 baud, then 2 s of silence.
        const double read85 = 2.0 + (2 + 85 * 18 + 3) * sim::WireCharSeconds;
        sim::ProgrammerOptions silent;
        silent.silent = true;
        Slots changed = held;
        changed[2] = "0000000F,0002";
        changed[86] = "00000086,0000"; // beyond the device: not compared
        newRow("85-slot tag, one differs")
            << Device::Tag << sim::ProgrammerOptions{} << changed << ComparisonOutcome::Differs
            << QStringList{"2 0000000F 0002 00000002 0002"} << read85;
        newRow("silent device") << Device::Tag << silent << held << ComparisonOutcome::ReadFailed
                                << QStringList{} << 2.0;
    }
    void readAndCompare() {
        QFETCH(Device, device);
        QFETCH(sim::ProgrammerOptions, options);
        QFETCH(Slots, database);
        QFETCH(ComparisonOutcome, outcome);
        QFETCH(double, elapsed);
        Rig rig(options);
        rig.memory(device).setSize(85);
        for (int slot = 1; slot <= 3; ++slot)
            rig.memory(device).setSlot(slot, {QByteArray::number(slot).rightJustified(8, '0'),
                                              QByteArray::number(slot).rightJustified(4, '0')});
        userdb::RecordStore store;
        fill(store, database);
        const QByteArray before = userdb::writeDatabase("Site", store);
        const double start = rig.timeline.now();

        const proglink::Comparison comparison =
            proglink::readAndCompare(rig.context, rig, 1, device, 85, rig.buffer, store);

        QCOMPARE(comparison.outcome, outcome);
        QTEST(listed(comparison.differences), "differences");
        QCOMPARE(rig.dialogs.texts(),
                 outcome == ComparisonOutcome::ReadFailed ? QStringList{ReadError} : QStringList{});
        QCOMPARE(userdb::writeDatabase("Site", store), before);
        QCOMPARE(rig.programmer.model().commands(),
                 QList<QByteArray>{device == Device::Receiver ? "D" : "C"});
        QVERIFY(!rig.port.isOpen());
        QCOMPARE(rig.progress, (std::pair{0, 0}));
        QVERIFY(qAbs(rig.timeline.now() - start - elapsed) < 1e-6);
    }
};

QTEST_GUILESS_MAIN(TestCompare)
#include "test_compare.moc"
