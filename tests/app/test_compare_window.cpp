// The Comparison window: its table, its summary and the slot it asks the editor for.
#include "app/compare/comparisonwindow.h"

#include <QAbstractItemModel>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

using proglink::Device;

namespace {

const QList<proglink::SlotDifference> Three{{7, "0000ABCD", "0001", "00000000", "0000"},
                                            {40, "12345678", "A1B2", "12345678", "A1B3"},
                                            {85, "00000000", "0000", "FFFF0001", "0000"}};

QStringList row(const QAbstractItemModel &model, int r, int role = Qt::DisplayRole) {
    QStringList cells;
    for (int c = 0; c < model.columnCount(); ++c)
        cells << model.index(r, c).data(role).toString();
    return cells;
}

} // namespace

class TestCompareWindow : public QObject {
    Q_OBJECT

private slots:
    void tableAndSummary() {
        app::ComparisonWindow window;
        QCOMPARE(window.windowTitle(), "Comparison");
        auto *table = window.findChild<QTableView *>();
        QCOMPARE(table->accessibleName(), "Differences");
        window.setComparison(Three, Device::Receiver);
        const QAbstractItemModel &model = *table->model();
        QStringList headers;
        for (int c = 0; c < model.columnCount(); ++c)
            headers << model.headerData(c, Qt::Horizontal).toString();
        QCOMPARE(headers, (QStringList{"Slot", "Database Serial", "Database Aux", "Device Serial",
                                       "Device Aux"}));
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(row(model, 1), (QStringList{"40", "12345678", "A1B2", "12345678", "A1B3"}));
        // Only the pair that differs stands out.
        QList<bool> bold;
        for (int c = 0; c < model.columnCount(); ++c)
            bold << model.index(1, c).data(Qt::FontRole).value<QFont>().bold();
        QCOMPARE(bold, (QList<bool>{false, false, true, false, true}));
        QCOMPARE(window.summaryText(), "3 slots differ");
        window.setComparison(Three.mid(2), Device::Tag);
        QCOMPARE(window.summaryText(), "1 slot differs");
        window.setComparison({}, Device::Receiver);
        QCOMPARE(window.summaryText(), "The receiver matches the database");
        QCOMPARE(model.rowCount(), 0);
    }

    // Each way of choosing the third row asks for slot 85; the window stays open.
    void choosingARow_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("signals"); // a double-click is a click, then an activation
        QTest::newRow("click") << "click" << 1;
        QTest::newRow("Enter") << "Enter" << 1;
        QTest::newRow("double-click") << "double-click" << 2;
    }
    void choosingARow() {
        QFETCH(QString, how);
        app::ComparisonWindow window;
        window.showComparison(Three, Device::Receiver);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *table = window.findChild<QTableView *>();
        QCOMPARE(QApplication::focusWidget(), table);
        QSignalSpy chosen(&window, &app::ComparisonWindow::slotChosen);
        const QPoint third = table->visualRect(table->model()->index(2, 1)).center();
        if (how == "click") {
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, third);
        } else if (how == "double-click") {
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, third);
            QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, third);
        } else {
            QTest::keyClick(table, Qt::Key_Down);
            QTest::keyClick(table, Qt::Key_Down);
            QCOMPARE(chosen.count(), 0); // moving is not choosing
            QTest::keyClick(table, Qt::Key_Enter);
        }
        QTEST(int(chosen.count()), "signals");
        for (const QList<QVariant> &signal : chosen)
            QCOMPARE(signal.at(0).toInt(), 85);
        QVERIFY(window.isVisible());
        QTest::keyClick(table, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(TestCompareWindow)
#include "test_compare_window.moc"
