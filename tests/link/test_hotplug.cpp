#include "link/hotplug.h"
#include "platform/fakes/fakedevicewatcher.h"
#include "platform/fakes/faketimeline.h"

#include <QTest>

// The hot-plug rules on a fake device watcher and the fake clock: what the programmer session
// is asked to do, and when.
using proglink::HotPlugController;

namespace {

// The session as the controller sees it. Each discovery takes its outcome from `outcomes`: a
// device path (found there), "none", or "denied" (the permission hint is left in panel 2).
struct Session : proglink::HotPlugClient {
    explicit Session(platform::FakeTimeline &timeline)
        : timeline(timeline) {}

    void discoverAutomatically() override {
        log << at() + "discover";
        const QString outcome = outcomes.isEmpty() ? "none" : outcomes.takeFirst();
        if (outcome.startsWith('/'))
            controller->programmerFound(outcome);
        else
            controller->programmerNotFound(outcome == "denied");
    }
    void setPortText(const QString &text) override {
        log << at() + (text == HotPlugController::waitingText() ? "waiting" : text);
    }
    void programmerGone(const QString &path) override { log << at() + "gone " + path; }

    QString at() const { return QString::number(timeline.now() - 1000.0) + ' '; }

    platform::FakeTimeline &timeline;
    HotPlugController *controller = nullptr;
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
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QStringList>("outcomes"); // of the discoveries the controller starts
        QTest::addColumn<QStringList>("log");
        const QString usb0 = "/dev/ttyUSB0", usb1 = "/dev/ttyUSB1";
        QTest::newRow("found on the retry 2 s later")
            << QStringList{"0 none", "5 +" + usb0} << QStringList{"none", usb0}
            << QStringList{"0 waiting", "6 discover", "6 waiting", "8 discover"};
        QTest::newRow("two failures, then waiting")
            << QStringList{"0 none", "5 +" + usb0} << QStringList{}
            << QStringList{"0 waiting", "6 discover", "6 waiting", "8 discover", "8 waiting"};
        QTest::newRow("the permission hint stays")
            << QStringList{"0 none", "5 +" + usb0} << QStringList{"denied", "denied"}
            << QStringList{"0 waiting", "6 discover", "8 discover"};
        QTest::newRow("a command runs when it falls due")
            << QStringList{"0 none", "5 +" + usb0, "5.5 busy", "9 free"} << QStringList{usb0}
            << QStringList{"0 waiting", "10 discover"};
        QTest::newRow("a second device restarts the round")
            << QStringList{"0 none", "5 +" + usb0, "5.5 +" + usb1} << QStringList{"none", usb1}
            << QStringList{"0 waiting", "6.5 discover", "6.5 waiting", "8.5 discover"};
        QTest::newRow("gone, then back")
            << QStringList{"0 found " + usb0, "2 -" + usb1, "3 +" + usb1, "4 -" + usb0,
                           "10 +" + usb0}
            << QStringList{usb0}
            << QStringList{"4 gone " + usb0, "4 " + HotPlugController::goneText(usb0),
                           "11 discover"};
        QTest::newRow("a device while the programmer is found")
            << QStringList{"0 found " + usb0, "3 +" + usb1} << QStringList{} << QStringList{};
    }
    void rules() {
        QFETCH(QStringList, events);
        platform::FakeTimeline timeline;
        platform::FakeDeviceWatcher watcher;
        Session session(timeline);
        QFETCH(QStringList, outcomes);
        session.outcomes = outcomes;
        HotPlugController controller(watcher, timeline, session);
        session.controller = &controller;
        controller.watch({});
        for (const QString &event : events) {
            const double time = event.section(' ', 0, 0).toDouble();
            const QString what = event.section(' ', 1);
            timeline.at(1000.0 + time, [&, what] {
                if (what == "none")
                    controller.programmerNotFound(false);
                else if (what.startsWith("found "))
                    controller.programmerFound(what.mid(6));
                else if (what == "busy" || what == "free")
                    controller.setCommandRunning(what == "busy");
                else if (what.startsWith('+'))
                    watcher.appear(what.mid(1));
                else
                    watcher.vanish(what.mid(1));
            });
        }
        timeline.advance(60);
        QTEST(session.log, "log");
    }

    // The text of panel 2 once the programmer has gone, and the watch handed on.
    void goneTextAndWatch() {
        QCOMPARE(HotPlugController::goneText("/tmp/zepro"),
                 "The programmer on /tmp/zepro has gone away. Waiting for the programmer: plug it "
                 "in or choose its port");
        platform::FakeTimeline timeline;
        platform::FakeDeviceWatcher watcher;
        Session session(timeline);
        HotPlugController controller(watcher, timeline, session);
        controller.watch({"/tmp/zepro"});
        QCOMPARE(watcher.watched(), QStringList{"/tmp/zepro"});
    }
};

QTEST_GUILESS_MAIN(TestHotPlug)
#include "test_hotplug.moc"
