// The window as keyboard and screen-reader users meet it, and on a small screen with large text.
#include "appharness.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QToolButton>
#include <QtTest>

class WindowTest : public QObject {
    Q_OBJECT

    // A shown window with a database open, the focus in the window.
    static void openDatabase(AppHarness &h) {
        h.w().runCommand(app::Command::NewDatabase);
        h.w().show();
        QVERIFY(QTest::qWaitForWindowActive(&h.w()));
    }

    static QString focusName() {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    }

private slots:
    // Tab runs through the editor top to bottom, left to right; the State box's own line edit
    // stands for the box.
    void tabOrderOfTheEditor() {
        AppHarness h(0);
        openDatabase(h);
        h.child("hscSlot")->setFocus();
        QStringList visited{focusName()};
        for (int i = 0; i < 14; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget *focus = QApplication::focusWidget();
            visited << (focus->parentWidget() == h.child("cboState") ? QStringLiteral("cboState")
                                                                     : focus->objectName());
        }
        QCOMPARE(visited,
                 (QStringList{"hscSlot", "imgDatabaseExit", "txtRemlet", "txtSurname",
                              "txtOtherNames", "txtAddress1", "txtAddress2", "txtSuburb",
                              "cboState", "txtPostCode", "txtTelephone", "txtMobile",
                              "TxtOtherDetail1", "txtOtherDetail2", "txtDatabaseAddress"}));
    }

    void slotsChangeByKeyboard() {
        AppHarness h(0);
        openDatabase(h);
        QWidget *slotBar = h.child("hscSlot");
        slotBar->setFocus();
        QTest::keyClick(slotBar, Qt::Key_Right);
        QCOMPARE(h.w().EditSlotNumber, 2);
        QTest::keyClick(slotBar, Qt::Key_PageDown);
        QCOMPARE(h.w().EditSlotNumber, 12);
        QWidget *mobile = h.child("txtMobile");
        mobile->setFocus();
        QTest::keyClick(mobile, Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(h.w().EditSlotNumber, 13);
        QTest::keyClick(mobile, Qt::Key_PageUp, Qt::ControlModifier);
        QTest::keyClick(mobile, Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(h.w().EditSlotNumber, 11);
        QCOMPARE(h.child<QLabel>("lblUserSlot")->text(), QStringLiteral("11"));
        QCOMPARE(focusName(), QStringLiteral("txtMobile"));
    }

    // The panels' exit marks take the focus and act on Space; Escape closes an open panel;
    // F10 opens the first menu.
    void panelsAndMenusByKeyboard() {
        AppHarness h(0);
        openDatabase(h);
        h.w().runCommand(app::Command::SortDatabase);
        auto *exit = h.child<QToolButton>("imgSortExit");
        exit->setFocus();
        QCOMPARE(focusName(), QStringLiteral("imgSortExit"));
        QTest::keyClick(exit, Qt::Key_Space);
        QVERIFY(!h.child("fraSort")->isVisible());
        h.w().runCommand(app::Command::MergeDatabase);
        h.child("chkAddExtra")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!h.child("fraMergeDatabase")->isVisible());
        // F10 reaches the menu bar; the keyboard then runs a command on the bar itself.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10);
        QCOMPARE(h.w().menuBar()->activeAction(), h.w().menuAction("mnuFile"));
        QTest::keyClick(h.w().menuBar(), Qt::Key_Right);
        QTest::keyClick(h.w().menuBar(), Qt::Key_Return);
        QVERIFY(h.child("fraSort")->isVisible());
        QCOMPARE(focusName(), QStringLiteral("optSurname")); // the panel has the keyboard
    }

    // Labels whose text changes give that text to screen readers as their name.
    void changingLabelsExposeTheirText() {
        AppHarness h(1);
        h.w().startUp();
        openDatabase(h);
        h.w().database().setCell(7, userdb::SerialNumber, QStringLiteral("0000001A"));
        h.child<QScrollBar>("hscSlot")->setValue(7);
        const QList<std::pair<const char *, QString>> labels{
            {"StatusBar1Panel1", QStringLiteral("Found Remlet Manager on Port 1")},
            {"StatusBar1Panel2", QStringLiteral("Port 1: COM1")},
            {"lblEnableRX", QStringLiteral("ZEPRO V2.4")},
            {"lblUserSlot", QStringLiteral("7")},
            {"lblRemletCount", QStringLiteral("1")},
        };
        for (const auto &[name, text] : labels) {
            QAccessibleInterface *label = QAccessible::queryAccessibleInterface(h.child(name));
            QVERIFY2(label, name);
            QCOMPARE(label->text(QAccessible::Name), text);
            QVERIFY(!label->text(QAccessible::Description).isEmpty());
        }
    }

    // At 1366 x 728 with 12-point text every box of the editor is at least a line of text high
    // (the address two) and none overlaps another, also with the Sort panel open and a transfer's
    // progress bar shown.
    void editorFitsASmallScreenWithLargeText_data() {
        QTest::addColumn<bool>("sortPanel");
        QTest::addColumn<bool>("progress");
        QTest::newRow("editor alone") << false << false;
        QTest::newRow("Sort panel and progress bar") << true << true;
    }

    void editorFitsASmallScreenWithLargeText() {
        QFETCH(bool, sortPanel);
        QFETCH(bool, progress);
        const QFont original = QApplication::font();
        QFont large = original;
        large.setPointSize(12);
        QApplication::setFont(large);
        AppHarness h(0);
        h.w().runCommand(app::Command::NewDatabase);
        if (sortPanel)
            h.w().runCommand(app::Command::SortDatabase);
        if (progress)
            h.w().showProgress(1, 340);
        h.w().resize(1366, 728);
        h.w().show();
        QVERIFY(QTest::qWaitForWindowExposed(&h.w()));
        QApplication::setFont(original);

        const int line = QFontMetrics(large).height();
        QList<QWidget *> boxes;
        for (QWidget *box : h.child("fraTXUsers")->findChildren<QWidget *>())
            if (qobject_cast<QLineEdit *>(box) || qobject_cast<QComboBox *>(box) ||
                qobject_cast<QPlainTextEdit *>(box))
                if (!qobject_cast<QComboBox *>(box->parentWidget()))
                    boxes << box;
        QCOMPARE(boxes.size(), 13);
        QList<QRect> placed;
        for (QWidget *box : boxes) {
            const int lines = qobject_cast<QPlainTextEdit *>(box) ? 2 : 1;
            QVERIFY2(box->height() >= lines * line, qPrintable(box->objectName()));
            const QRect rect(box->mapTo(&h.w(), QPoint(0, 0)), box->size());
            for (const QRect &other : std::as_const(placed))
                QVERIFY2(!rect.intersects(other), qPrintable(box->objectName()));
            placed << rect;
        }
        QVERIFY(h.w().frameGeometry().height() <= 728 || h.w().height() <= 728);
    }
};

QTEST_MAIN(WindowTest)
#include "test_window.moc"
