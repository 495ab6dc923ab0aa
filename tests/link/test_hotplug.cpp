#include "link/hotplug.h"
#include "platform/fakes/fakedevicewatcher.h"
#include "platform/fakes/faketimeline.h"
#include "tests/common/datacolumns.h"

#include <QTest>

// The hot-plug rules on a fake device watcher and the fake clock: what the programmer session
// is asked to do, and when.
using proglink::HotPlugController;

namespace {

// The session as the controller sees it. Each discovery takes its outcome from `outcomes`: a
// device path (found there), "none", or "denied" (the permission hint is left in panel 2).
struct Session : proglink::HotPlugClient {
    void discoverAutomatically() override {
        log << at() + "discover";
        const QString outcome = outcomes.isEmpty() ? "none" : outcomes.takeFirst();
        if (outcome.startsWith('/'))
            controller.programmerFound(outcome);
        else
            controller.programmerNotFound(outcome == "denied");
    }
    void setPortText(const QString &text) override {
        log << at() + (text == HotPlugController::waitingText() ? "waiting" : text);
    }
    void programmerGone(const QString &path) override { log << at() + "gone " + path; }

    QString at() const { return QString::number(timeline.now() - 1000.0) + ' '; }

    platform::FakeTimeline timeline;
    platform::FakeDeviceWatcher watcher;
    HotPlugController controller{watcher, timeline, *this};
    QStringList outcomes;
    QStringList log;
};

} // namespace

class TestHotPlug : public QObject {
    Q_OBJECT

private slots:
    // Events at seconds from the start: "found PATH" and "none" are discoveries the user ran,
    // "+PATH" and "-PATH" devices appearing and vanishing, "busy" and "free" a command.
    void rules_data() {
        // outcomes: of the discoveries the controller starts
        addColumns<QStringList, QStringList, QStringList>("events", "outcomes", "log");
        const auto row = [](const char *name, const QStringList &events,
                            const QStringList &outcomes, const QStringList &log) {
            QTest::newRow(name) << events << outcomes << log;
        };
        const QString usb0 = "/dev/ttyUSB0", usb1 = "/dev/ttyUSB1";
        row("found on the retry 2 s later", {"0 none", "5 +" + usb0}, {"none", usb0},
            {"0 waiting", "6 discover", "6 waiting", "8 discover"});
        row("two failures, then waiting", {"0 none", "5 +" + usb0}, {},
            {"0 waiting", "6 discover", "6 waiting", "8 discover", "8 waiting"});
        row("the permission hint stays", {"0 none", "5 +" + usb0}, {"denied", "denied"},
            {"0 waiting", "6 discover", "8 discover"});
        row("a command runs when it falls due", {"0 none", "5 +" + usb0, "5.5 busy", "9 free"},
            {usb0}, {"0 waiting", "10 discover"});
        row("a second device restarts the round", {"0 none", "5 +" + usb0, "5.5 +" + usb1},
            {"none", usb1}, {"0 waiting", "6.5 discover", "6.5 waiting", "8.5 discover"});
        row("gone, then back",
            {"0 found " + usb0, "2 -" + usb1, "3 +" + usb1, "4 -" + usb0, "10 +" + usb0}, {usb0},
            {"4 gone " + usb0,
             "4 The programmer on /dev/ttyUSB0 has gone away. Waiting for the programmer: plug it "
             "in or choose its port",
             "11 discover"});
        row("a device while the programmer is found", {"0 found " + usb0, "3 +" + usb1}, {}, {});
    }
    void rules() {
        QFETCH(QStringList, events);
        QFETCH(QStringList, outcomes);
        Session session;
        session.outcomes = outcomes;
        session.controller.watch({});
        for (const QString &event : events) {
            const double time = event.section(' ', 0, 0).toDouble();
            session.timeline.at(1000.0 + time, [&, what = event.section(' ', 1)] {
                if (what == "none")
                    session.controller.programmerNotFound(false);
                else if (what.startsWith("found "))
                    session.controller.programmerFound(what.mid(6));
                else if (what == "busy" || what == "free")
                    session.controller.setCommandRunning(what == "busy");
                else if (what.startsWith('+'))
                    session.watcher.appear(what.mid(1));
                else
                    session.watcher.vanish(what.mid(1));
            });
        }
        session.timeline.advance(60);
        QTEST(session.log, "log");
    }
};

QTEST_GUILESS_MAIN(TestHotPlug)
#include "test_hotplug.moc"
