// Enrolment by presenting fobs: the simulated programmer in-process reports each fob pressed
// through capture mode, on the fake clock, and the enrolment fills the database.
#include "link/capture.h"
#include "platform/fakes/fakedialogs.h"
#include "platform/fakes/faketimeline.h"
#include "sim/inprocessprogrammer.h"
#include "userdb/enrolment.h"
#include "userdb/opendatabase.h"
#include "userdb/previousversion.h"

#include <QSignalSpy>
#include <QTest>
#include <optional>

using namespace userdb;

namespace {

// What happens at `at` seconds after the receiver is on: a fob pressed (the line it reports),
// or "UNDO" (Undo Last), or "EDIT slot serial" (typed into the editor).
struct Event {
    double at;
    QString what;
};

struct EnrolCase {
    QString database; // "slot=serial,aux,surname,other detail 2" items, trailing fields optional
    int size;
    QList<Event> events;
    QStringList rows; // "serial outcome" per row, in order
    QString filled;   // the database afterwards, in the same form (serial and aux only)
    int count;        // fobs enrolled and not undone
    bool stopsItself; // no free slot stopped capture before the test's own stop
};

void fill(OpenDatabase &database, const QString &text) {
    for (const QString &item : text.split(' ', Qt::SkipEmptyParts)) {
        const int slot = item.section('=', 0, 0).toInt();
        const QStringList fields = item.section('=', 1).split(',');
        const Column columns[] = {SerialNumber, AuxiliaryWord, Surname, OtherDetail2};
        for (int i = 0; i < fields.size(); ++i)
            database.setCell(slot, columns[i], fields[i]);
    }
}

QString filledSlots(const OpenDatabase &database) {
    QStringList result;
    for (int slot = 1; slot <= SlotCount; ++slot)
        if (!database.cell(slot, SerialNumber).isEmpty() ||
            !database.cell(slot, AuxiliaryWord).isEmpty())
            result << QString("%1=%2,%3")
                          .arg(slot)
                          .arg(database.cell(slot, SerialNumber),
                               database.cell(slot, AuxiliaryWord));
    return result.join(' ');
}

// Slots 1 to `count` hold fobs 00000001, 00000002...
QString fullUpTo(int count) {
    QStringList items;
    for (int slot = 1; slot <= count; ++slot)
        items << QString("%1=%2,0000").arg(slot).arg(slot, 8, 10, QChar('0'));
    return items.join(' ');
}

// Capture mode on port 1 with the simulated programmer at the far end; every line shown goes
// to the enrolment.
struct Rig : proglink::ProgrammerView {
    void setStatusText(const QString &) override {}
    void setPortText(const QString &) override {}
    void setReplyText(const QString &text) override {
        const std::optional<EnrolmentResult> result = enrolment.takeLine(text);
        if (!result)
            return;
        rows << result->serial + ' ' + result->text();
        if (result->kind == EnrolmentResult::NoFreeSlot)
            capture.requestStop();
    }
    void showProgress(int, int) override {}
    void setProgress(int) override {}
    void hideProgress() override {}
    void showSerialBeingWritten(const QString &) override {}

    explicit Rig(int size)
        : enrolment(database, size, timeline) {
        port.addPort(1, &programmer);
    }

    platform::FakeTimeline timeline;
    platform::FakeSerialPort port;
    platform::FakeDialogs dialogs;
    proglink::ReplyBuffer buffer;
    proglink::LinkContext context{port, timeline, timeline, dialogs};
    sim::InProcessProgrammer programmer{timeline};
    proglink::InternalReceiverCapture capture;
    OpenDatabase database;
    Enrolment enrolment;
    QStringList rows;
};

} // namespace

Q_DECLARE_METATYPE(EnrolCase)

class TestEnrolment : public QObject {
    Q_OBJECT

private slots:
    void captureLineSequences_data() {
        QTest::addColumn<EnrolCase>("c");
        const auto row = [](const char *name, const EnrolCase &c) { QTest::newRow(name) << c; };
        row("new fobs", {"",
                         340,
                         {{0, "RX 1A2B3C4D"}, {0.5, "RX 00C0FFEE"}},
                         {"1A2B3C4D Slot 1", "00C0FFEE Slot 2"},
                         "1=1A2B3C4D, 2=00C0FFEE,",
                         2,
                         false});
        // Slot 1 is booked by a name, slot 2 by Other Detail 2 alone; slots 3 and 5 are free
        // whatever their auxiliary word, slot 4 holds a fob. Lower case goes in as capitals.
        row("next free slot",
            {"1=00000000,0000,Nguyen 2=,,,spare 3=,0003 4=0000ABCD,0004 5=00000000,0005",
             340,
             {{0, "rx 1a2b3c4d"}, {0.5, "RX 00C0FFEE"}},
             {"1A2B3C4D Slot 3", "00C0FFEE Slot 5"},
             "1=00000000,0000 3=1A2B3C4D,0003 4=0000ABCD,0004 5=00C0FFEE,0005",
             2,
             false});
        row("held on the reader", {"",
                                   340,
                                   {{0, "RX 1A2B3C4D"}, {1.5, "RX 1A2B3C4D"}, {3, "RX 1a2b3c4d"}},
                                   {"1A2B3C4D Slot 1"},
                                   "1=1A2B3C4D,",
                                   1,
                                   false});
        row("presented again after 2 s",
            {"",
             340,
             {{0, "RX 1A2B3C4D"}, {0.5, "RX 00C0FFEE"}, {2.5, "RX 1A2B3C4D"}},
             {"1A2B3C4D Slot 1", "00C0FFEE Slot 2", "1A2B3C4D already in slot 1"},
             "1=1A2B3C4D, 2=00C0FFEE,",
             2,
             false});
        row("known, in lower case, twice", {"1=0000ABCD,0001 2=1234abcd,0002 3=1234ABCD,0003",
                                            340,
                                            {{0, "RX 1234ABCD"}},
                                            {"1234ABCD already in slot 2"},
                                            "1=0000ABCD,0001 2=1234abcd,0002 3=1234ABCD,0003",
                                            0,
                                            false});
        row("garbage", {"",
                        340,
                        {{0, ""},
                         {0.1, "hello"},
                         {0.2, "RX 123456789"},
                         {0.3, "RX 1234567"},
                         {0.4, "RX 00000000"},
                         {0.5, "ID 1A2B3C4D 99"}},
                        {"1A2B3C4D Slot 1"},
                        "1=1A2B3C4D,",
                        1,
                        false});
        row("full",
            {fullUpTo(84),
             85,
             {{0, "RX 00000001"}, {0.5, "RX 1A2B3C4D"}, {1, "RX 00C0FFEE"}, {1.5, "RX 0000BEEF"}},
             {"00000001 already in slot 1", "1A2B3C4D Slot 85", "00C0FFEE No free slot"},
             fullUpTo(84) + " 85=1A2B3C4D,",
             1,
             true});
        row("undo", {"1=00000000,0001",
                     340,
                     {{0, "RX 1A2B3C4D"},
                      {0.5, "RX 00C0FFEE"},
                      {1, "UNDO"},
                      {1.1, "UNDO"},
                      {1.2, "UNDO"},
                      {3, "RX 00C0FFEE"}},
                     {"1A2B3C4D Slot 1", "00C0FFEE Slot 2", "00C0FFEE Slot 2 undone",
                      "1A2B3C4D Slot 1 undone", "00C0FFEE Slot 1"},
                     "1=00C0FFEE,0001",
                     1,
                     false});
        row("undo after an edit",
            {"",
             340,
             {{0, "RX 1A2B3C4D"}, {0.5, "EDIT 1 0000BEEF"}, {1, "UNDO"}},
             {"1A2B3C4D Slot 1", "1A2B3C4D Slot 1 changed since: left as it is"},
             "1=0000BEEF,",
             0,
             false});
    }
    void captureLineSequences() {
        QFETCH(EnrolCase, c);
        Rig rig(c.size);
        fill(rig.database, c.database);
        const double on = rig.timeline.now() + 0.1; // the receiver is on by then
        for (const Event &event : c.events) {
            rig.timeline.at(on + event.at, [&rig, what = event.what] {
                if (what == "UNDO") {
                    if (const auto undone = rig.enrolment.undoLast())
                        rig.rows << undone->serial + ' ' + undone->text();
                } else if (what.startsWith("EDIT")) {
                    rig.database.setCell(what.section(' ', 1, 1).toInt(), SerialNumber,
                                         what.section(' ', 2));
                } else {
                    rig.programmer.pressFob(what.toLatin1());
                }
            });
        }
        const double stopAt = on + c.events.last().at + 1;
        rig.timeline.at(stopAt, [&] { rig.capture.requestStop(); });

        QCOMPARE(rig.capture.run(rig.context, rig, 1, rig.buffer), proglink::CaptureEnd::Stopped);

        QCOMPARE(rig.rows, c.rows);
        QCOMPARE(filledSlots(rig.database), c.filled);
        QCOMPARE(rig.enrolment.enrolledCount(), c.count);
        QCOMPARE(rig.timeline.now() < stopAt, c.stopsItself);
        QCOMPARE(rig.port.writes().mid(2), QList<QByteArray>({"Q", "\r"}));
    }

    // Every enrolment goes through the one path of a typed serial, so views and the duplicate
    // notes follow; a database replaced meanwhile (Load, Sort...) leaves nothing to undo.
    void changesAreAnnouncedAndReplacedRecordsEndUndo() {
        platform::FakeTimeline timeline;
        OpenDatabase database;
        Enrolment enrolment(database, 340, timeline);
        QSignalSpy cells(&database, &OpenDatabase::cellChanged);
        QCOMPARE(enrolment.takeLine("RX 1A2B3C4D")->slot, 1);
        QCOMPARE(cells.takeFirst(), QVariantList({1, int(SerialNumber)}));
        database.replaceRecords(RecordStore());
        QVERIFY(!enrolment.canUndo());
        QVERIFY(!enrolment.undoLast());
        QCOMPARE(enrolment.enrolledCount(), 1);
    }

    void previousVersionName_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("kept");
        QTest::newRow("fxd") << "/sites/site.fxd"
                             << "/sites/site.old.fxd";
        QTest::newRow("capitals") << "SITE.FXD"
                                  << "SITE.old.fxd";
        QTest::newRow("other ending") << "site.db"
                                      << "site.db.old.fxd";
    }
    void previousVersionName() {
        QFETCH(QString, path);
        QFETCH(QString, kept);
        QCOMPARE(previousVersionPath(path), kept);
    }
};

QTEST_GUILESS_MAIN(TestEnrolment)
#include "test_enrolment.moc"
