#include "app/userlist/duplicatenotes.h"
#include "app/userlist/userlistfilter.h"
#include "app/userlist/userlistmodel.h"
#include "app/userlist/userlistwindow.h"
#include "tests/common/datacolumns.h"
#include "userdb/opendatabase.h"

#include <QAbstractItemModelTester>
#include <QtTest>
#include <QtWidgets>

using namespace userdb;
using app::UserListFilter;
using app::UserListModel;

namespace {

// Slot 1: Nguyen, fob 1A2B3C4D; slot 2: O'Brien, fob 1a2b3c4d stored in lower case; slot 5:
// only Other Detail 2; slot 9: Smithers in Unit 4, "00000000"; slot 4095: only the auxiliary
// word. Slots 3, 4 and 6 to 8 are free.
RecordStore sampleStore() {
    RecordStore store;
    const auto fill = [&](int slot, std::initializer_list<std::pair<Column, const char *>> cells) {
        for (const auto &[column, text] : cells)
            store.setCell(slot, column, QString::fromUtf8(text));
    };
    fill(1, {{SerialNumber, "1A2B3C4D"}, {Surname, "Nguyen"}, {Telephone, "03 9397 1234"}});
    fill(2, {{SerialNumber, "1a2b3c4d"}, {Surname, "O'Brien"}, {Address2, "Harbour Towers"}});
    fill(5, {{OtherDetail2, "spare fob"}});
    fill(9,
         {{SerialNumber, "00000000"}, {Surname, "Smithers"}, {Address1, "Unit 4"}, {State, "VIC"}});
    fill(4095, {{AuxiliaryWord, "0000"}});
    return store;
}

// The sample database with its list model and filter.
struct Lists {
    OpenDatabase database;
    UserListModel model{database};
    UserListFilter filter{model};
    explicit Lists(const RecordStore &store = sampleStore()) { database.replaceRecords(store); }
};

// The slots of the rows of the model or of the filter, in row order.
template <class Rows> QList<int> slotsOf(const Rows &rows) {
    QList<int> found;
    for (int row = 0; row < rows.rowCount(); ++row)
        found.append(rows.slotAt(row));
    return found;
}

QString noteOf(const UserListModel &model, int slot) {
    return model.index(model.rowOfSlot(slot), UserListModel::NoteColumn).data().toString();
}

using Change = std::function<void(OpenDatabase &)>;

} // namespace

Q_DECLARE_METATYPE(Change)

class TestUserList : public QObject {
    Q_OBJECT

private slots:
    void modelFollowsTheDatabase_data() {
        // changedRows: rows of the dataChanged signals, in order
        // insertedAt: -1: no row inserted
        // removedAt: -1: no row removed
        addColumns<Change, QList<int>, int, int, int, QList<int>>(
            "change", "changedRows", "insertedAt", "removedAt", "resets", "listed");
        const auto row = [](const char *name, const QList<int> &changed, int inserted, int removed,
                            int resets, const QList<int> &listed, const Change &change) {
            QTest::newRow(name) << change << changed << inserted << removed << resets << listed;
        };
        const QList<int> sample = {1, 2, 5, 9, 4095};
        row("keystroke in a listed slot", {3}, -1, -1, 0, sample,
            [](OpenDatabase &d) { d.setCell(9, Surname, "Smithe"); });
        row("first text of a free slot", {}, 3, -1, 0, {1, 2, 5, 6, 9, 4095},
            [](OpenDatabase &d) { d.setCell(6, Mobile, "0"); });
        row("last text of a slot deleted", {}, -1, 2, 0, {1, 2, 9, 4095},
            [](OpenDatabase &d) { d.setCell(5, OtherDetail2, ""); });
        // The row of slot 2, then the note of slot 1, which no longer shares its serial.
        row("serial of a pair changed", {1, 0}, -1, -1, 0, sample,
            [](OpenDatabase &d) { d.setCell(2, SerialNumber, "1A2B3C4E"); });
        row("bulk change", {}, -1, -1, 1, {2, 3, 5, 9, 4095},
            [](OpenDatabase &d) { d.changeRecords([](RecordStore &s) { s.swapRecords(1, 3); }); });
    }

    void modelFollowsTheDatabase() {
        QFETCH(Change, change);
        QFETCH(int, insertedAt);
        QFETCH(int, removedAt);
        Lists lists;
        QAbstractItemModelTester tester(&lists.model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy changed(&lists.model, &QAbstractItemModel::dataChanged);
        QSignalSpy inserted(&lists.model, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&lists.model, &QAbstractItemModel::rowsRemoved);
        QSignalSpy reset(&lists.model, &QAbstractItemModel::modelReset);

        change(lists.database);
        QList<int> rows;
        for (const QList<QVariant> &signal : changed) {
            const int first = signal.at(0).toModelIndex().row();
            QCOMPARE(signal.at(1).toModelIndex().row(), first); // one row per signal
            rows.append(first);
        }
        QTEST(rows, "changedRows");
        const auto rowsOf = [](const QSignalSpy &spy) {
            return spy.isEmpty() ? QList<QVariant>{-1, -1} : spy.first().mid(1);
        };
        QCOMPARE(inserted.size() + removed.size(), (insertedAt >= 0) + (removedAt >= 0));
        QCOMPARE(rowsOf(inserted), (QList<QVariant>{insertedAt, insertedAt}));
        QCOMPARE(rowsOf(removed), (QList<QVariant>{removedAt, removedAt}));
        QTEST(int(reset.size()), "resets");
        QTEST(slotsOf(lists.model), "listed");
        QCOMPARE(slotsOf(UserListModel(lists.database)), slotsOf(lists.model)); // opened later
    }

    // Many slots changed one cell at a time before the event loop runs again (a loop in a
    // command): a few rows on their own, then one reset for the rest once the loop is over.
    void burstOfRowsIsOneReset() {
        Lists lists;
        QSignalSpy inserted(&lists.model, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&lists.model, &QAbstractItemModel::rowsRemoved);
        QSignalSpy reset(&lists.model, &QAbstractItemModel::modelReset);
        for (int slot = 100; slot < 200; ++slot)
            lists.database.setCell(slot, Surname, "New");
        lists.database.setCell(9, Surname, "Smithson"); // a listed row: still one reset
        lists.database.setCell(5, OtherDetail2, "");
        QCOMPARE(inserted.size(), UserListModel::RowSignalsPerTurn);
        QCOMPARE(reset.size(), 0);
        QTRY_COMPARE(reset.size(), 1);
        QCOMPARE(removed.size(), 0);
        QCOMPARE(lists.model.rowCount(), 104);
        QCOMPARE(lists.model.index(lists.model.rowOfSlot(9), Surname).data(), "Smithson");
        // The next turn: a single edit is a row of its own again.
        lists.database.setCell(300, Surname, "Later");
        QCOMPARE(inserted.size(), UserListModel::RowSignalsPerTurn + 1);
        QCOMPARE(reset.size(), 1);
    }

    void findText_data() {
        addColumns<QString, QList<int>>("find", "shown");
        QTest::newRow("serial in full, stored in lower case") << "1A2B3C4D" << QList<int>{1, 2};
        QTest::newRow("part of a surname, other case") << "SMITH" << QList<int>{9};
        QTest::newRow("telephone, spaces around") << "  9397 " << QList<int>{1};
        // Every field is searched, the ones the list does not show too.
        QTest::newRow("other detail 2") << "spare" << QList<int>{5};
        QTest::newRow("auxiliary word") << "0000" << QList<int>{9, 4095};
        QTest::newRow("in no field") << "Melbourne" << QList<int>();
    }

    void findText() {
        QFETCH(QString, find);
        Lists lists;
        lists.filter.setFindText(find);
        QTEST(slotsOf(lists.filter), "shown");
    }

    void duplicatesAndNotes() {
        RecordStore store = sampleStore();
        for (int slot : {20, 30, 4095}) // the last slot too
            store.setCell(slot, SerialNumber, "CAFEF00D");
        store.setCell(10, SerialNumber, "00000000");
        Lists lists(store);
        OpenDatabase &database = lists.database;
        lists.filter.setDuplicatesOnly(true);
        QCOMPARE(slotsOf(lists.filter), (QList<int>{1, 2, 20, 30, 4095}));
        QCOMPARE(noteOf(lists.model, 30), QString("Same serial as slots 20, 4095"));

        // Slot 30 gets a fob of its own: the notes of 20 and 4095 follow, 30 leaves the view.
        QSignalSpy changed(&lists.model, &QAbstractItemModel::dataChanged);
        database.setCell(30, SerialNumber, "CAFEF00E");
        QCOMPARE(noteOf(lists.model, 20), QString("Same serial as slot 4095"));
        QCOMPARE(noteOf(lists.model, 30), QString());
        QCOMPARE(changed.size(), 3); // slot 30's row, then the notes of 20 and of 4095
        QCOMPARE(slotsOf(lists.filter), (QList<int>{1, 2, 20, 4095}));
        // And slot 4095 too: 20 is alone with its serial now.
        database.setCell(4095, SerialNumber, "");
        QCOMPARE(slotsOf(lists.filter), (QList<int>{1, 2}));
        lists.filter.setFindText("o'brien");
        QCOMPARE(slotsOf(lists.filter), (QList<int>{2}));

        // What the window says when the user leaves the serial box.
        database.setCell(7, SerialNumber, "1A2B3C4D");
        QCOMPARE(app::serialAlsoInNote("1a2b3c4d", database.otherSlotsWithSerial("1a2b3c4d", 2)),
                 QString("Serial 1a2b3c4d is also in slots 1, 7"));
        QCOMPARE(app::serialAlsoInNote("CAFEF00D", database.otherSlotsWithSerial("CAFEF00D", 20)),
                 QString());
        QCOMPARE(app::sameSerialNote(QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}, 1),
                 QString("Same serial as slots 2, 3, 4, 5, 6, 7, 8, 9, 10, 11 and 2 more"));
    }

    void headerClickOrdersTheViewOnly() {
        RecordStore store;
        store.setCell(2, Surname, "carter");
        store.setCell(10, Surname, "Baker");
        store.setCell(100, Surname, "adams");
        Lists lists(store);
        lists.filter.sort(Surname);
        QCOMPARE(slotsOf(lists.filter), (QList<int>{100, 10, 2})); // letter case ignored
        lists.filter.sort(UserListModel::SlotColumn, Qt::DescendingOrder);
        QCOMPARE(slotsOf(lists.filter), (QList<int>{100, 10, 2})); // as numbers, not as text
    }

    void databaseDestroyedFirst() {
        // As in a window that owns both: its members go before its child windows.
        auto database = std::make_unique<OpenDatabase>();
        database->replaceRecords(sampleStore());
        app::UserListWindow list(*database);
        list.open();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        database.reset();
        QCOMPARE(list.findChild<QLabel *>("statusLabel")->text(), "0 of 0 users");
        list.findChild<QLineEdit *>("findEdit")->setText("Nguyen");
        list.grab();
    }
};

QTEST_MAIN(TestUserList)
#include "test_userlist.moc"
