// The "Enrol Fobs" window on its own, fed capture lines as its owner would.
#include "app/enrol/enrolwindow.h"
#include "platform/fakes/faketimeline.h"
#include "tests/common/datacolumns.h"
#include "userdb/opendatabase.h"

#include <QtTest>
#include <QtWidgets>

using app::EnrolWindow;
using userdb::SerialNumber;

namespace {

struct Session {
    explicit Session(int size = 340)
        : window(database, size, clock) {
        window.show();
    }
    QPushButton *button(const char *name) { return window.findChild<QPushButton *>(name); }
    QListView *list() { return window.findChild<QListView *>("lstRows"); }
    QLabel *label(const char *name) { return window.findChild<QLabel *>(name); }
    // The text of the list's current row, without its time.
    QString current() { return list()->currentIndex().data().toString().section("  ", 1); }

    platform::FakeTimeline clock;
    userdb::OpenDatabase database;
    EnrolWindow window;
};

} // namespace

class TestEnrolWindow : public QObject {
    Q_OBJECT

private slots:
    // Each new row becomes the current item, the count's accessible name follows its text,
    // Undo Last restores, and a database replaced meanwhile leaves nothing to undo.
    void rowsCountAndUndo() {
        Session s;
        QSignalSpy changed(&s.window, &EnrolWindow::slotChanged);
        // Every change goes through the path of a typed serial, which every view follows.
        QSignalSpy cells(&s.database, &userdb::OpenDatabase::cellChanged);
        s.window.addCaptureLine("RX 1A2B3C4D");
        s.window.addCaptureLine("RX 00c0ffee");
        QCOMPARE(s.current(), "00C0FFEE  Slot 2");
        QCOMPARE(s.list()->model()->rowCount(), 2);
        QCOMPARE(s.label("lblCount")->accessibleName(), "2 fobs enrolled");
        QCOMPARE(changed, (QList<QVariantList>{{1}, {2}}));

        QTest::mouseClick(s.button("cmdUndoLast"), Qt::LeftButton);
        QCOMPARE(s.current(), "00C0FFEE  Slot 2 undone");
        QCOMPARE(s.label("lblCount")->text(), "1 fobs enrolled");
        QCOMPARE(s.label("lblCount")->accessibleName(), "1 fobs enrolled");
        QCOMPARE(s.database.cell(2, SerialNumber), "");
        QCOMPARE(changed.last(), QVariantList{2});
        QCOMPARE(cells.count(), 3);

        s.database.replaceRecords(userdb::RecordStore()); // a Load after the stop
        QVERIFY(!s.button("cmdUndoLast")->isEnabled());
    }

    // Each way of stopping asks once for capture mode to end and takes no line after it; a
    // device that went away asks nothing and says that what was enrolled stays. Escape works
    // from the control that has the focus.
    void stopping_data() {
        addColumns<QString, int, QString>("how", "stopRequests", "lastRow");
        QTest::newRow("Stop") << "Stop" << 1 << "1A2B3C4D  Slot 85";
        QTest::newRow("Escape") << "Escape" << 1 << "1A2B3C4D  Slot 85";
        QTest::newRow("no free slot") << "full" << 1 << "00C0FFEE  No free slot";
        QTest::newRow("device gone")
            << "lost" << 0 << "The programmer went away: capture stopped. What was enrolled stays.";
    }
    void stopping() {
        QFETCH(QString, how);
        Session s(85);
        for (int slot = 1; slot <= 84; ++slot)
            s.database.setCell(slot, SerialNumber, QString::number(slot).rightJustified(8, '0'));
        QSignalSpy stops(&s.window, &EnrolWindow::stopRequested);
        s.window.addCaptureLine("RX 1A2B3C4D");

        if (how == "Stop") {
            QTest::mouseClick(s.button("cmdStop"), Qt::LeftButton);
        } else if (how == "Escape") {
            QVERIFY(QTest::qWaitForWindowActive(&s.window));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            QVERIFY(!s.window.isVisible());
        } else if (how == "full") {
            s.window.addCaptureLine("RX 00C0FFEE");
        } else {
            s.window.captureLost();
        }
        s.window.addCaptureLine("RX 0000BEEF"); // comes before the receiver is off
        s.window.close();                       // asks no second time

        QTEST(int(stops.count()), "stopRequests");
        QTEST(s.current(), "lastRow");
        QCOMPARE(s.database.cell(85, SerialNumber), "1A2B3C4D");
        QVERIFY(!s.button("cmdStop")->isEnabled() && s.label("lblMessage")->isVisibleTo(&s.window));
    }
};

QTEST_MAIN(TestEnrolWindow)
#include "test_enrol.moc"
