// The Tools windows apart from the main window: where they open and what they remember, what
// a screen reader finds in them, Escape, and the Go to Slot box.
#include "app/compare/comparisonwindow.h"
#include "app/gotoslot/gotoslotdialog.h"
#include "app/statuspanel.h"
#include "app/toolwindows/livelabel.h"
#include "app/toolwindows/toolwindowplacement.h"
#include "app/userlist/userlistwindow.h"
#include "tests/common/datacolumns.h"
#include "userdb/opendatabase.h"

#include <QtTest>
#include <QtWidgets>
#include <memory>

namespace {

// What a screen reader reads of a widget.
QString readerText(QWidget *widget, QAccessible::Text text = QAccessible::Name) {
    return QAccessible::queryAccessibleInterface(widget)->text(text);
}

// A Tools window on its own, with what the tests need to reach in it.
struct ToolWindow {
    std::unique_ptr<QDialog> window;
    std::function<void()> open;
    std::function<void(QWidget *, QWidget *)> anchor;
    std::function<void(std::function<bool()>)> earlierEscape;
    QString placeKey;
};

using Maker = std::function<ToolWindow(QWidget *parent)>;

ToolWindow userList(const userdb::OpenDatabase &database, QWidget *parent) {
    auto *window = new app::UserListWindow(database, parent);
    return {std::unique_ptr<QDialog>(window), [=] { window->open(); },
            [=](QWidget *main, QWidget *keep) { window->setPlacementAnchor(main, keep); },
            [=](std::function<bool()> rule) { window->setEarlierEscapeRule(std::move(rule)); },
            app::UserListWindow::placeKey()};
}

ToolWindow comparison(QWidget *parent) {
    auto *window = new app::ComparisonWindow(parent);
    return {std::unique_ptr<QDialog>(window), [=] { window->showComparison({}, {}); },
            [=](QWidget *main, QWidget *keep) { window->setPlacementAnchor(main, keep); },
            [=](std::function<bool()> rule) { window->setEarlierEscapeRule(std::move(rule)); },
            app::ComparisonWindow::placeKey()};
}

} // namespace

Q_DECLARE_METATYPE(Maker)

class ToolWindowsTest : public QObject {
    Q_OBJECT

    userdb::OpenDatabase m_database;

private slots:
    void init() { QSettings().clear(); }

    // Screens of 1920 x 1080 and 1366 x 768 (a panel of 40 at the bottom); frames in screen
    // coordinates.
    void placement_data() {
        addColumns<QRect, QRect, QRect, QSize, QRect>("available", "main", "keep", "wanted",
                                                      "placed");
        const auto row = [](const char *name, QRect available, QRect main, QRect keep, QSize wanted,
                            QRect placed) {
            QTest::newRow(name) << available << main << keep << wanted << placed;
        };
        const QRect large(0, 0, 1920, 1040), small(0, 0, 1366, 728), narrow(0, 0, 1000, 728);
        const QRect fields(10, 120, 600, 420);
        const QSize wide(1000, 640), tall(1200, 640);
        row("room on the right", large, {0, 0, 900, 700}, fields, wide, {900, 0, 1000, 640});
        row("room on the left", large, {1000, 300, 900, 700}, {}, {800, 640}, {200, 300, 800, 640});
        row("low: moved up", large, {0, 800, 900, 700}, fields, wide, {900, 400, 1000, 640});
        row("small screen: right of the fields", small, narrow, fields, tall, {610, 0, 756, 640});
        row("small screen, nothing to keep", small, narrow, {}, {1200, 900}, {166, 0, 1200, 728});
        // Fields too wide to keep clear: the tool window gets its least width.
        row("fields too wide", small, small, {0, 100, 1100, 400}, tall, {966, 0, 400, 640});
        row("second screen", {1920, 0, 1366, 728}, {1920, 0, 600, 500}, fields, {700, 500},
            {2520, 0, 700, 500});
    }
    void placement() {
        QFETCH(QRect, available);
        QFETCH(QRect, main);
        QFETCH(QRect, keep);
        QFETCH(QSize, wanted);
        QTEST(app::placeToolWindow(available, main, keep, wanted, QSize(400, 200)), "placed");
    }

    void toolWindows_data() {
        QTest::addColumn<Maker>("make");
        QTest::newRow("User List") << Maker([this](QWidget *p) { return userList(m_database, p); });
        QTest::newRow("Comparison") << Maker([](QWidget *p) { return comparison(p); });
    }
    // Each is a window of its own to a screen reader, opens beside the main window without
    // covering the fields, can come behind the main window, closes on Escape unless an earlier
    // rule takes the key, and reopens where it was left, in this run and the next.
    void toolWindows() {
        QFETCH(Maker, make);
        QWidget main;
        auto *fields = new QWidget(&main);
        fields->setGeometry(10, 10, 200, 150);
        main.setGeometry(QRect(QPoint(0, 0), QSize(400, 300)));
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        ToolWindow tool = make(&main);
        QDialog &window = *tool.window;

        QVERIFY(QAccessible::queryAccessibleInterface(&window)->role() == QAccessible::Dialog);
        tool.anchor(&main, fields);
        tool.open();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const QRect available = window.screen()->availableGeometry();
        QVERIFY(available.contains(window.frameGeometry()));
        QVERIFY(!window.frameGeometry().intersects(
            QRect(fields->mapToGlobal(QPoint()), fields->size())));
        QCOMPARE(window.windowHandle()->transientParent(), nullptr);

        bool transferRunning = true;
        tool.earlierEscape([&] { return std::exchange(transferRunning, false); });
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(window.isVisible()); // the key cancelled the transfer
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!window.isVisible());

        // Moved and resized by the user, closed, reopened; then in a later run.
        tool.open();
        const QRect left(available.topLeft() + QPoint(30, 40), QSize(420, 330));
        window.setGeometry(left);
        QTRY_COMPARE(window.geometry(), left);
        window.close();
        window.setGeometry(QRect(5, 5, 450, 450));
        tool.open();
        QCOMPARE(window.geometry(), left);
        tool.window.reset(); // the program ends with the window open
        ToolWindow later = make(&main);
        later.anchor(&main, fields);
        later.open();
        QCOMPARE(later.window->geometry(), left);
        later.window->close();

        // Remembered on a larger screen, or one that has gone: brought onto this one.
        QSettings().setValue(tool.placeKey, QRect(available.right() + 500, 40, 5000, 3000));
        ToolWindow moved = make(&main);
        moved.open();
        QTRY_VERIFY(available.contains(moved.window->frameGeometry()));
    }

    // A label whose text changes reads as its text, with its fixed words as the description;
    // empty, it reads as its fixed words. Read after each change, as a screen reader would.
    // (The comparison's summary is read so in the window's tests.)
    void liveLabels() {
        QWidget bar;
        app::StatusPanel panel("StatusBar1Panel2", "Programmer port", &bar);
        QCOMPARE(readerText(&panel), "Programmer port");
        panel.setLastingText("Port 1: /dev/ttyUSB0");
        QCOMPARE(readerText(&panel), "Port 1: /dev/ttyUSB0");
        panel.showNotice("Serial 1A2B3C4D is also in slot 17");
        QCOMPARE(readerText(&panel), "Serial 1A2B3C4D is also in slot 17");
        panel.findChild<QTimer *>("noticeTimer")->setInterval(0);
        panel.showNotice("Busy");
        QTRY_COMPARE(readerText(&panel), "Port 1: /dev/ttyUSB0");
        QCOMPARE(readerText(&panel, QAccessible::Description), "Programmer port");

        QLineEdit find;
        find.setClearButtonEnabled(true);
        app::nameClearButton(find, "Clear the find box");
        auto *clear = find.findChild<QToolButton *>();
        QVERIFY(clear);
        QCOMPARE(readerText(clear), "Clear the find box");
    }

    void goToSlot_data() {
        // chosen: 0: none
        addColumns<int, QString, int, int>("lastSlot", "typed", "key", "chosen");
        QTest::newRow("the last") << 340 << "340" << int(Qt::Key_Enter) << 340;
        QTest::newRow("past the last") << 340 << "400" << int(Qt::Key_Return) << 40;
        QTest::newRow("85-slot editor") << 85 << "86" << int(Qt::Key_Return) << 8;
        QTest::newRow("Escape") << 340 << "200" << int(Qt::Key_Escape) << 0;
    }
    void goToSlot() {
        QFETCH(int, lastSlot);
        QFETCH(QString, typed);
        QFETCH(int, key);
        app::GoToSlotDialog dialog(lastSlot, 17);
        QSignalSpy announced(&dialog, &app::GoToSlotDialog::slotChosen);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto *box = qobject_cast<QSpinBox *>(QApplication::focusWidget());
        QVERIFY(box);
        QCOMPARE(box->value(), 17);
        QTest::keyClicks(box, typed); // replaces the selected 17
        QTest::keyClick(box, Qt::Key(key));
        QFETCH(int, chosen);
        QCOMPARE(dialog.result(), chosen ? QDialog::Accepted : QDialog::Rejected);
        QCOMPARE(chosen ? dialog.slotNumber() : 0, chosen);
        QCOMPARE(announced.size(), chosen ? 1 : 0);
        QVERIFY(!dialog.isVisible());
    }
};

QTEST_MAIN(ToolWindowsTest)
#include "test_toolwindows.moc"
