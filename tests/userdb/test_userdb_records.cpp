#include "tests/common/datacolumns.h"
#include "userdb/bulkfill.h"
#include "userdb/capturedserial.h"
#include "userdb/fieldrules.h"
#include "userdb/merge.h"
#include "userdb/opendatabase.h"
#include "userdb/sort.h"

#include <QSignalSpy>
#include <QTest>

// The records as the editor and its tools change them: field rules, sort, merge, bulk fill, the
// open database's announcements and serial index, and the captured serial.
using namespace userdb;

Q_DECLARE_METATYPE(userdb::FieldKind)

namespace {

// Fills slots 1.. from "serial:key serial:key ..." with the key in `keyColumn` (an empty part
// leaves both empty); an owner detail tags each slot with its number.
RecordStore storeOf(const QString &rows, int keyColumn) {
    RecordStore store;
    const QStringList list = rows.split(' ');
    for (int i = 0; i < list.size(); ++i) {
        const QStringList cells = list.at(i).split(':');
        store.setCell(i + 1, keyColumn, cells.value(1));
        store.setCell(i + 1, SerialNumber, cells.value(0));
        store.setCell(i + 1, OtherDetail2, QString::number(i + 1));
    }
    return store;
}

// Column `column` of slots 1..count.
QStringList cellsOf(const RecordStore &store, int column, int count) {
    QStringList cells;
    for (int slot = 1; slot <= count; ++slot)
        cells << store.cell(slot, column);
    return cells;
}

struct MergeCase {
    const char *open, *file;
    MergeOptions options; // delete missing, add extra
    const char *result;
};

struct BulkFillCase {
    QString start, count;
    QString serials; // slots 1.. afterwards; "oldN" left as it was
    QString error = {};
};

struct CellEditCase {
    int slot, column;
    QString text;
    int cellSignals;
    QList<int> peers; // the serialPeersChanged argument, if any
};

} // namespace

class TestUserdbRecords : public QObject {
    Q_OBJECT

private slots:
    void keyAndPasteFilters_data() {
        addColumns<FieldKind, QString, QString>("kind", "typed", "stored");
        auto row = [](const char *name, FieldKind kind, const QString &typed,
                      const QString &stored) { QTest::newRow(name) << kind << typed << stored; };
        using K = FieldKind;
        row("serial: capitals A-F only", K::SerialNumber, "09AFGzab-", "09AF");
        row("text: no control or line break", K::FreeText, "a\tb\nc\rd\u0081e", "abcde");
        row("address: line breaks, no comma", K::DatabaseAddress, "1 Main St,\r\nTown\t\"",
            "1 Main St\r\nTown");
    }

    // Typing character by character keeps what pasting the whole text keeps.
    void keyAndPasteFilters() {
        QFETCH(FieldKind, kind);
        QFETCH(QString, typed);
        QString byKey;
        for (const QChar ch : typed)
            if (acceptsCharacter(kind, ch))
                byKey += ch;
        QTEST(byKey, "stored");
        QTEST(filterPastedText(kind, typed), "stored");
        QVERIFY(acceptsCharacter(kind, QChar(0x08)));      // Backspace edits in every box...
        QCOMPARE(filterPastedText(kind, "\b"), QString()); // ...but is no text to paste
    }

    void fieldLimitsAndSerialWarning() {
        const QList<int> limits = {8, 4, 50, 50, 50, 50, 50, 0, 5, 20, 20, 50, 50};
        for (int column = 1; column <= ColumnCount; ++column)
            QCOMPARE(maxTypedLengthOfColumn(column), limits.at(column - 1));

        for (const QString serial : {"12", "1234567", "123456789"})
            QVERIFY2(serialNeedsWarning(serial), qPrintable(serial));
        QVERIFY(!serialNeedsWarning("") && !serialNeedsWarning("0000001A"));
    }

    void sortCases_data() {
        // rows: as storeOf takes them
        // order: original slot numbers after the sort
        addColumns<int, QString, QStringList>("keyColumn", "rows", "order");
        auto row = [](const char *name, int key, const QString &rows, const QString &order) {
            QTest::newRow(name) << key << rows << order.split(' ');
        };
        row("Smith before smith stays", Surname, "1:Smith 2:smith 3:ab", "3 1 2");
        row("empty keys and serials last", Surname, ":zed 5: : 6:Brown :abe 00000000: 7:ann",
            "7 4 2 6 5 1 3");
        row("00000000 first by serial", SerialNumber, "0000001A  00000000 0000000a", "3 4 1 2");
        row("post codes in text order", PostCode, "1:9 2:13 3:10 4:120", "3 4 2 1");
        row("all empty keeps order", Suburb, "  ", "1 2 3");
    }

    void sortCases() {
        QFETCH(int, keyColumn);
        QFETCH(QString, rows);
        QFETCH(QStringList, order);
        RecordStore store = storeOf(rows, keyColumn);
        sortSlots(store, keyColumn);
        QCOMPARE(cellsOf(store, OtherDetail2, int(order.size())), order);
    }

    void sortLeavesSlotsAbove340() {
        RecordStore store = storeOf("2:b", Surname);
        store.setRecord(340, storeOf("340:a", Surname).record(1));
        store.setRecord(341, storeOf("341:0", Surname).record(1)); // first, were it in range
        sortSlots(store, Surname);
        QCOMPARE(cellsOf(store, SerialNumber, 2), QStringList({"340", "2"}));
        QVERIFY(store.record(340) == Record{});
    }

    // Serials of the open database's slots 1.., of the merge buffer's and of the open
    // database's afterwards, without their leading "000000"; "." is an empty serial, "-" a slot
    // with details only.
    void mergeCases_data() {
        QTest::addColumn<MergeCase>("c");
        auto row = [](const char *name, const MergeCase &c) { QTest::newRow(name) << c; };
        row("neither option", {"0A 0B 0C", "0D", {false, false}, "0A 0B 0C"});
        row("delete, letter case ignored", {"0A 0B 0C", "0b 0c", {true, false}, ". 0B 0C"});
        row("add, letter case ignored", {"0A 0B 0C", "0a . 0E", {false, true}, "0A 0B 0C 0E"});
        row("00000000 is an entry", {"00 0A", "0A", {true, false}, ". 0A"});
        row("00000000 kept when the file has it", {"00", "00", {true, true}, "00 ."});
        row("delete then add fills freed slots lowest first",
            {"0A 0B 0C", "0E 0B 0F", {true, true}, "0E 0B 0F ."});
        row("slot with details but no serial is not free",
            {"- 0A", "0E", {false, true}, ". 0A 0E"});
        row("serial twice in the file added once", {"", "0E 0e 0E", {false, true}, "0E ."});
    }

    void mergeCases() {
        QFETCH(MergeCase, c);
        auto serials = [](const char *text) {
            QStringList list = QString(text).split(' ', Qt::SkipEmptyParts);
            for (QString &serial : list)
                serial = serial == "." ? "" : serial == "-" ? serial : "000000" + serial;
            return list;
        };
        const QStringList open = serials(c.open), result = serials(c.result);
        // The surname tells where a record came from.
        auto storeFrom = [](const QStringList &serials, const QString &owner) {
            RecordStore store;
            for (int i = 0; i < serials.size(); ++i) {
                store.setCell(i + 1, SerialNumber, serials.at(i) == "-" ? "" : serials.at(i));
                store.setCell(i + 1, Surname, owner);
            }
            return store;
        };
        RecordStore store = storeFrom(open, "open");
        mergeDatabases(store, storeFrom(serials(c.file), "file"), c.options);
        QCOMPARE(cellsOf(store, SerialNumber, int(result.size())), result);
        // Entries of the open database keep their own details, added ones bring theirs, and a
        // deleted entry leaves nothing behind.
        for (int slot = 1; slot <= int(result.size()); ++slot) {
            const QString &serial = store.cell(slot, SerialNumber);
            const bool fromOpen = open.value(slot - 1) == (serial.isEmpty() ? "-" : serial);
            QCOMPARE(store.cell(slot, Surname), fromOpen ? "open" : serial.isEmpty() ? "" : "file");
        }
    }

    // The last slot takes part in both passes; an extra entry finding no free slot is dropped.
    void mergeReachesTheLastSlot() {
        RecordStore store;
        for (int slot = 1; slot < SlotCount; ++slot)
            store.setCell(slot, Surname, "taken");
        store.setCell(1, SerialNumber, "0000000A");         // the file has it in its last slot
        store.setCell(SlotCount, SerialNumber, "0000000B"); // the file lacks it
        RecordStore buffer = storeOf("0000000E 0000000F", SerialNumber);
        buffer.setCell(SlotCount, SerialNumber, "0000000A");
        mergeDatabases(store, buffer, MergeOptions{true, true});
        QCOMPARE(store.cell(1, SerialNumber), "0000000A");
        QCOMPARE(store.cell(SlotCount, SerialNumber), "0000000E");
        QCOMPARE(usedSlotCount(store), 2); // 0000000F found no room

        RecordStore fresh;
        mergeDatabases(fresh, buffer, MergeOptions{false, true});
        QCOMPARE(cellsOf(fresh, SerialNumber, 3),
                 QStringList({"0000000E", "0000000F", "0000000A"}));
    }

    void bulkFill_data() {
        QTest::addColumn<BulkFillCase>("c");
        auto row = [](const char *name, const BulkFillCase &c) { QTest::newRow(name) << c; };
        const QString notNumber = "Please enter the number of Remlets as a number.";
        const QString badStart =
            "The start serial number must be up to 8 hexadecimal digits (0 to 9 and A to F).";
        row("1A x 3", {"1A", "3", "0000001A 0000001B 0000001C old4"});
        row("carry", {"0000FFFF", "2", "0000FFFF 00010000 old3"});
        row("empty start", {"", "2", "00000000 00000001 old3"});
        row("fraction cut off, one slot", {"A", "1.7", "0000000A old2"});
        row("up to the last serial", {"FFFFFFFE", " 2 ", "FFFFFFFE FFFFFFFF"});
        row("0.9 does nothing", {"1", "0.9", "old1"});
        row("words for count", {"1", "three", "old1", notNumber});
        row("infinite count", {"1", "inf", "old1", notNumber});
        row("grouped digits", {"1", "1,000", "old1", notNumber});
        row("count above 340", {"1", "341", "old1", "At most 340 Remlets can be filled at once."});
        row("lowercase start", {"1a", "2", "old1", badStart});
        row("nine digit start", {"000000001", "2", "old1", badStart});
        row("passes FFFFFFFF",
            {"FFFFFFFE", "3", "old1",
             "3 Remlets from FFFFFFFE would pass the last serial number FFFFFFFF."});
    }

    void bulkFill() {
        QFETCH(BulkFillCase, c);
        const QStringList serials = c.serials.split(' ');
        RecordStore store;
        for (int slot = 1; slot <= 4; ++slot)
            store.setCell(slot, SerialNumber, "old" + QString::number(slot));
        const BulkFillResult result = userdb::bulkFill(store, c.start, c.count);
        QCOMPARE(result.error, c.error);
        const int written = int(serials.size() - serials.filter("old").size());
        QCOMPARE(result.changed, written > 0);
        QCOMPARE(result.lastSlot, written);
        QCOMPARE(cellsOf(store, SerialNumber, int(serials.size())), serials);
    }

    // Slots 1 and 2 hold "1A2B3C4D", slot 3 "CAFEF00D", slot 4 Surname "Nguyen".
    void cellEditsAnnounceRealChanges_data() {
        QTest::addColumn<CellEditCase>("c");
        auto row = [](const char *name, const CellEditCase &c) { QTest::newRow(name) << c; };
        row("same text", {4, Surname, "Nguyen", 0, {}});
        row("serial case only", {1, SerialNumber, "1a2b3c4d", 1, {}});
        row("serial leaves a pair", {2, SerialNumber, "", 1, {1}});
        row("serial moves between groups", {2, SerialNumber, "cafef00d", 1, {1, 3}});
        row("the last cell", {SlotCount, OtherDetail2, "X", 1, {}});
        row("slot out of range", {4096, Surname, "X", 0, {}});
        row("column out of range", {1, ColumnCount + 1, "X", 0, {}});
    }

    void cellEditsAnnounceRealChanges() {
        QFETCH(CellEditCase, c);
        OpenDatabase database;
        database.replaceRecords(storeOf("1A2B3C4D 1A2B3C4D CAFEF00D :Nguyen", Surname));

        QSignalSpy cells(&database, &OpenDatabase::cellChanged);
        QSignalSpy peerSignals(&database, &OpenDatabase::serialPeersChanged);
        QSignalSpy resets(&database, &OpenDatabase::recordsChanged);
        database.setCell(c.slot, c.column, c.text);
        QCOMPARE(cells.size(), c.cellSignals);
        if (c.cellSignals > 0) {
            QCOMPARE(cells.first(), (QList<QVariant>{c.slot, c.column}));
            QCOMPARE(database.cell(c.slot, c.column), c.text);
        }
        QCOMPARE(peerSignals.size(), c.peers.isEmpty() ? 0 : 1);
        if (!c.peers.isEmpty())
            QCOMPARE(peerSignals.first().first().value<QList<int>>(), c.peers);
        QCOMPARE(resets.size(), 0);
    }

    void wholeChangesAnnounceOnceAndReindex() {
        OpenDatabase database;
        QSignalSpy resets(&database, &OpenDatabase::recordsChanged);
        QSignalSpy cells(&database, &OpenDatabase::cellChanged);

        RecordStore loaded;
        loaded.setCell(7, SerialNumber, "0000001A");
        loaded.setCell(SlotCount, SerialNumber, "0000001a"); // the last slot counts too
        database.replaceRecords(loaded);
        QCOMPARE(resets.size(), 1);
        QCOMPARE(database.otherSlotsWithSerial("0000001A", 7), QList<int>{SlotCount});

        database.changeRecords([](RecordStore &store) {
            store.swapRecords(7, 1);
            store.setCell(2, SerialNumber, "0000001A");
        });
        QCOMPARE(resets.size(), 2);
        QCOMPARE(database.serials().slotsWith("0000001A"), (QList<int>{1, 2, SlotCount}));

        // A change that fails half-way still announces (and indexes) what it did.
        struct Failed {};
        QVERIFY_THROWS_EXCEPTION(Failed, database.changeRecords([](RecordStore &store) {
            store.setCell(3, SerialNumber, "0000001A");
            throw Failed{};
        }));
        QCOMPARE(resets.size(), 3);
        QCOMPARE(database.serials().slotsWith("0000001A"), (QList<int>{1, 2, 3, SlotCount}));

        database.clearRecords();
        QCOMPARE(resets.size(), 4);
        QVERIFY(database.serials().slotsWith("0000001A").isEmpty());
        QVERIFY(database.records().cell(SlotCount, SerialNumber).isEmpty());
        QCOMPARE(cells.size(), 0);
    }

    void capturedSerial_data() {
        addColumns<QString, QString>("line", "serial");
        auto row = [](const char *name, const char *line, const char *serial) {
            QTest::newRow(name) << QString(line) << QString(serial);
        };
        row("the last of two", "A 11111111 22222222", "22222222");
        row("nine digits", "123456789", "");
        row("seven digits", "RX 1234567", "");
        row("lower case", "rx 1a2b3c4d", "1A2B3C4D");
        row("a later longer run", "1A2B3C4D FFFFFFFFF", "1A2B3C4D");
        row("run at the start", "DEADBEEF:ok", "DEADBEEF");
        row("empty line", "", "");
    }

    void capturedSerial() {
        QFETCH(QString, line);
        QTEST(userdb::capturedSerial(line), "serial");
    }
};

QTEST_GUILESS_MAIN(TestUserdbRecords)
#include "test_userdb_records.moc"
