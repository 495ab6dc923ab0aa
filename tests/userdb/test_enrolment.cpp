// Enrolment by presenting fobs: the simulated programmer in-process reports each fob pressed
// through capture mode, on the fake clock, and the enrolment fills the database.
#include "link/capture.h"
#include "link/silentview.h"
#include "platform/fakes/fakedialogs.h"
#include "sim/inprocessprogrammer.h"
#include "userdb/enrolment.h"
#include "userdb/opendatabase.h"

#include <QTest>

using namespace userdb;

namespace {

void fill(OpenDatabase &database, const QString &text) {
    const Column columns[] = {SerialNumber, AuxiliaryWord, Surname, OtherDetail2};
    for (const QString &item : text.split(' ', Qt::SkipEmptyParts)) {
        const QStringList fields = item.section('=', 1).split(',');
        for (int i = 0; i < fields.size(); ++i)
            database.setCell(item.section('=', 0, 0).toInt(), columns[i], fields[i]);
    }
}

QString filledSlots(const OpenDatabase &database) {
    QStringList result;
    for (int slot = 1; slot <= SlotCount; ++slot)
        if (const QString &serial = database.cell(slot, 1), &aux = database.cell(slot, 2);
            !serial.isEmpty() || !aux.isEmpty())
            result << QString("%1=%2,%3").arg(slot).arg(serial, aux);
    return result.join(' ');
}

// Capture mode on port 1 with the simulated programmer; every line shown goes to the enrolment.
struct Rig : proglink::SilentView {
    void setReplyText(const QString &text) override {
        if (const std::optional<EnrolmentResult> result = enrolment.takeLine(text))
            rows << result->serial + ' ' + result->text();
    }
    Rig() { port.addPort(1, &programmer); }
    void run(const QString &event) {
        if (event == "UNDO") {
            if (const auto undone = enrolment.undoLast())
                rows << undone->serial + ' ' + undone->text();
        } else if (event.startsWith("EDIT")) {
            database.setCell(event.section(' ', 1, 1).toInt(), 1, event.section(' ', 2));
        } else {
            programmer.pressFob(event.toLatin1());
        }
    }

    platform::FakeTimeline timeline;
    platform::FakeSerialPort port;
    platform::FakeDialogs dialogs;
    proglink::ReplyBuffer buffer;
    proglink::LinkContext context{port, timeline, timeline, dialogs};
    sim::InProcessProgrammer programmer{timeline};
    proglink::InternalReceiverCapture capture;
    OpenDatabase database;
    Enrolment enrolment{database, 340, timeline};
    QStringList rows;
};

// Events "seconds what", separated by "|": a fob's line, "UNDO", or "EDIT slot serial" (typed
// into the editor). Rows "serial outcome". `filled`: the serials and aux words afterwards, in
// the form of the database.
struct EnrolmentCase {
    QString database;
    const char *events, *rows;
    QString filled;
    int count; // fobs enrolled and not undone
};

} // namespace

class TestEnrolment : public QObject {
    Q_OBJECT

private slots:
    void captureLineSequences_data() {
        QTest::addColumn<EnrolmentCase>("c");
        const auto row = [](const char *name, const EnrolmentCase &c) { QTest::newRow(name) << c; };
        // Slot 1 is booked by a name, slot 2 by Other Detail 2 alone; slots 3 and 5 are free
        // whatever their auxiliary word, slot 4 holds a fob. Lower case goes in as capitals.
        row("next free slot",
            {"1=00000000,0000,Nguyen 2=,,,spare 3=,0003 4=0000ABCD,0004 5=00000000,0005",
             "0 rx 1a2b3c4d|0.5 RX 00C0FFEE", "1A2B3C4D Slot 3|00C0FFEE Slot 5",
             "1=00000000,0000 3=1A2B3C4D,0003 4=0000ABCD,0004 5=00C0FFEE,0005", 2});
        row("held on the reader", {"", "0 RX 1A2B3C4D|1.5 RX 1A2B3C4D|3 RX 1a2b3c4d",
                                   "1A2B3C4D Slot 1", "1=1A2B3C4D,", 1});
        row("presented again after 2 s",
            {"", "0 RX 1A2B3C4D|0.5 RX 00C0FFEE|2.5 RX 1A2B3C4D",
             "1A2B3C4D Slot 1|00C0FFEE Slot 2|1A2B3C4D already in slot 1",
             "1=1A2B3C4D, 2=00C0FFEE,", 2});
        row("known, in lower case, twice",
            {"1=0000ABCD,0001 2=1234abcd,0002 3=1234ABCD,0003", "0 RX 1234ABCD",
             "1234ABCD already in slot 2", "1=0000ABCD,0001 2=1234abcd,0002 3=1234ABCD,0003", 0});
        row("garbage",
            {"", "0 |0.1 hello|0.2 RX 123456789|0.3 RX 1234567|0.4 RX 00000000|0.5 ID 1A2B3C4D 99",
             "1A2B3C4D Slot 1", "1=1A2B3C4D,", 1});
        row("undo", {"1=00000000,0001",
                     "0 RX 1A2B3C4D|0.5 RX 00C0FFEE|1 UNDO|1.1 UNDO|1.2 UNDO|3 RX 00C0FFEE",
                     "1A2B3C4D Slot 1|00C0FFEE Slot 2|00C0FFEE Slot 2 undone|1A2B3C4D Slot 1 "
                     "undone|00C0FFEE Slot 1",
                     "1=00C0FFEE,0001", 1});
        row("undo after an edit",
            {"", "0 RX 1A2B3C4D|0.5 EDIT 1 0000BEEF|1 UNDO",
             "1A2B3C4D Slot 1|1A2B3C4D Slot 1 changed since: left as it is", "1=0000BEEF,", 0});
    }
    void captureLineSequences() {
        QFETCH(EnrolmentCase, c);
        Rig rig;
        fill(rig.database, c.database);
        const QStringList events = QString(c.events).split('|');
        const double on = rig.timeline.now() + 0.1; // the receiver is on by then
        for (const QString &event : events)
            rig.timeline.at(on + event.section(' ', 0, 0).toDouble(),
                            [&rig, event] { rig.run(event.section(' ', 1)); });
        const double stopAt = on + events.last().section(' ', 0, 0).toDouble() + 1;
        rig.timeline.at(stopAt, [&] { rig.capture.requestStop(); });

        QCOMPARE(rig.capture.run(rig.context, rig, 1, rig.buffer), proglink::CaptureEnd::Stopped);

        QCOMPARE(rig.rows, QString(c.rows).split('|'));
        QCOMPARE(filledSlots(rig.database), c.filled);
        QCOMPARE(rig.enrolment.enrolledCount(), c.count);
        QCOMPARE(rig.port.writes().mid(2), QList<QByteArray>({"Q", "\r"}));
    }
};

QTEST_GUILESS_MAIN(TestEnrolment)
#include "test_enrolment.moc"
