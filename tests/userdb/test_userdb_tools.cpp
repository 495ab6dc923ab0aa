#include "literalreference.h"
#include "userdb/bulkfill.h"
#include "userdb/fieldrules.h"
#include "userdb/merge.h"
#include "userdb/sort.h"

#include <QRandomGenerator>
#include <QTest>

#include <memory>

using namespace userdb;

Q_DECLARE_METATYPE(userdb::FieldKind)

namespace {

using Store = std::unique_ptr<RecordStore>;

Store newStore() {
    return std::make_unique<RecordStore>();
}

// Fills slots 1.. with (serial, key) pairs in `keyColumn`; an owner detail tags each slot.
Store storeOf(const QList<QStringList> &rows, int keyColumn) {
    Store store = newStore();
    for (int i = 0; i < rows.size(); ++i) {
        store->setCell(i + 1, SerialNumber, rows.at(i).value(0));
        if (keyColumn != SerialNumber)
            store->setCell(i + 1, keyColumn, rows.at(i).value(1));
        store->setCell(i + 1, OtherDetail2, QString::number(i + 1));
    }
    return store;
}

// The tags of slots 1..count, to show where each record went.
QStringList tagsOf(const RecordStore &store, int count) {
    QStringList tags;
    for (int slot = 1; slot <= count; ++slot)
        tags << store.cell(slot, OtherDetail2);
    return tags;
}

QStringList serialsOf(const RecordStore &store, int count) {
    QStringList serials;
    for (int slot = 1; slot <= count; ++slot)
        serials << store.cell(slot, SerialNumber);
    return serials;
}

bool sameStores(const RecordStore &a, const RecordStore &b) {
    for (int slot = 1; slot <= SlotCount; ++slot)
        if (a.record(slot) != b.record(slot))
            return false;
    return true;
}

// Texts chosen to collide: case variants, empty, "00000000", digits of different lengths.
QString randomKey(QRandomGenerator &random) {
    static const QStringList pool = {
        "",   "",    "smith", "Smith", "SMITH", "jones",  "Jones",  "00000000", "9",
        "10", "120", "13",    "a",     "A b",   "\u00E9", "\u00C9", "0000001a", "0000001A"};
    return pool.at(random.bounded(pool.size()));
}

} // namespace

class TestUserdbTools : public QObject {
    Q_OBJECT

private slots:
    void keyFilter_data();
    void keyFilter();
    void pasteFilter_data();
    void pasteFilter();
    void fieldLimits();
    void serialCheck();

    void sortCases_data();
    void sortCases();
    void sortLeavesSlotsAbove340();
    void sortOrderedDatabaseTakesOnePass();
    void sortMatchesLiteralBubbleSort();

    void mergeCases_data();
    void mergeCases();
    void mergeFullStoreDropsSilently();
    void mergeMatchesLiteralScan();

    void bulkFill_data();
    void bulkFill();
    void bulkFillRefusals_data();
    void bulkFillRefusals();
};

void TestUserdbTools::keyFilter_data() {
    QTest::addColumn<FieldKind>("kind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");

    QTest::newRow("serial: 1 2 a b") << FieldKind::SerialNumber << "12ab"
                                     << "12";
    QTest::newRow("serial: capitals A-F only") << FieldKind::SerialNumber << "09AFGz-"
                                               << "09AF";
    QTest::newRow("post code: digits") << FieldKind::PostCode << "30a0 0"
                                       << "3000";
    QTest::newRow("free text: no comma or quote") << FieldKind::FreeText << "O'Brien, \"Jo\""
                                                  << "O'Brien Jo";
    QTest::newRow("free text: Windows-1252 only")
        << FieldKind::FreeText << QStringLiteral("Caf\u00E9 \u20AC5 \u4E2D!")
        << QStringLiteral("Caf\u00E9 \u20AC5 !");
    QTest::newRow("free text: no control or line break")
        << FieldKind::FreeText << QStringLiteral("a\tb\nc\rd\u0081e") << "abcde";
    QTest::newRow("state: comma yes, quote no")
        << FieldKind::State << QStringLiteral("Vic, \"East\" \u4E2D") << "Vic, East ";
    QTest::newRow("address: line breaks, no comma")
        << FieldKind::DatabaseAddress << "1 Main St,\r\nTown\t\""
        << "1 Main St\r\nTown";
}

// Each character typed by key gives the same result as pasting the whole text.
void TestUserdbTools::keyFilter() {
    QFETCH(FieldKind, kind);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QString byKey;
    for (const QChar ch : typed)
        if (acceptsCharacter(kind, ch))
            byKey += ch;
    QCOMPARE(byKey, stored);
    QVERIFY(acceptsCharacter(kind, QChar(0x08))); // Backspace edits in every box
}

void TestUserdbTools::pasteFilter_data() {
    keyFilter_data();
}

void TestUserdbTools::pasteFilter() {
    QFETCH(FieldKind, kind);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QCOMPARE(filterPastedText(kind, typed), stored);
    QCOMPARE(filterPastedText(kind, "\b"), QString());
}

void TestUserdbTools::fieldLimits() {
    const QList<int> expected = {8, 4, 50, 50, 50, 50, 50, 0, 5, 20, 20, 50, 50};
    for (int column = 1; column <= ColumnCount; ++column)
        QCOMPARE(maxTypedLengthOfColumn(column), expected.at(column - 1));
    QCOMPARE(fieldKindOfColumn(State), FieldKind::State);
    QCOMPARE(fieldKindOfColumn(PostCode), FieldKind::PostCode);
    QCOMPARE(fieldKindOfColumn(Mobile), FieldKind::FreeText);
    QCOMPARE(maxTypedLength(FieldKind::DatabaseAddress), 0);
    QCOMPARE(stateChoices(), QStringList({"ACT", "NSW", "NT", "QLD", "SA", "TAS", "VIC", "WA"}));
}

void TestUserdbTools::serialCheck() {
    QVERIFY(!serialNeedsWarning(""));
    QVERIFY(serialNeedsWarning("12"));
    QVERIFY(serialNeedsWarning("1234567"));
    QVERIFY(!serialNeedsWarning("0000001A"));
    QVERIFY(serialNeedsWarning("123456789"));
    QCOMPARE(serialWarningText(), "Remlet serial number too short.\nPlease enter a full 8 digit "
                                  "hexadecimal serial number or delete all numbers.");
}

void TestUserdbTools::sortCases_data() {
    QTest::addColumn<int>("keyColumn");
    QTest::addColumn<QList<QStringList>>("rows"); // serial, key
    QTest::addColumn<QStringList>("order");       // original slot numbers after the sort

    QTest::newRow("smith before Smith stays")
        << int(Surname) << QList<QStringList>{{"1", "smith"}, {"2", "Smith"}}
        << QStringList{"1", "2"};
    QTest::newRow("Smith before smith stays")
        << int(Surname) << QList<QStringList>{{"1", "Smith"}, {"2", "smith"}, {"3", "adams"}}
        << QStringList{"3", "1", "2"};
    QTest::newRow("four groups") << int(Surname)
                                 << QList<QStringList>{{"", "zed"}, {"5", ""},
                                                       {"", ""},    {"6", "Brown"},
                                                       {"", "abe"}, {"00000000", ""},
                                                       {"7", "ann"}}
                                 << QStringList{"7", "4", "2", "6", "5", "1", "3"};
    QTest::newRow("00000000 first by serial")
        << int(SerialNumber) << QList<QStringList>{{"0000001A"}, {""}, {"00000000"}, {"0000000a"}}
        << QStringList{"3", "4", "1", "2"};
    QTest::newRow("post codes in text order")
        << int(PostCode) << QList<QStringList>{{"1", "9"}, {"2", "13"}, {"3", "10"}, {"4", "120"}}
        << QStringList{"3", "4", "2", "1"};
    QTest::newRow("all empty keeps order")
        << int(Suburb) << QList<QStringList>{{""}, {""}, {""}} << QStringList{"1", "2", "3"};
}

void TestUserdbTools::sortCases() {
    QFETCH(int, keyColumn);
    QFETCH(QList<QStringList>, rows);
    QFETCH(QStringList, order);
    Store store = storeOf(rows, keyColumn);
    sortSlots(*store, keyColumn);
    QCOMPARE(tagsOf(*store, int(order.size())), order);
}

void TestUserdbTools::sortLeavesSlotsAbove340() {
    Store store = newStore();
    store->setCell(2, Surname, "b");
    store->setCell(2, SerialNumber, "2");
    store->setCell(340, Surname, "a");
    store->setCell(340, SerialNumber, "340");
    store->setCell(341, Surname, "0");
    store->setCell(341, SerialNumber, "341");
    store->setCell(4095, Surname, "0");
    sortSlots(*store, Surname);
    QCOMPARE(serialsOf(*store, 2), QStringList({"340", "2"}));
    QCOMPARE(store->cell(341, SerialNumber), "341");
    QCOMPARE(store->cell(4095, Surname), "0");
    QVERIFY(store->isFree(340));
}

void TestUserdbTools::sortOrderedDatabaseTakesOnePass() {
    QList<QStringList> rows;
    for (int slot = 1; slot <= SortedSlotCount; ++slot)
        rows << QStringList{"1", QStringLiteral("k%1").arg(slot, 3, 10, QLatin1Char('0'))};
    Store reference = storeOf(rows, Surname);
    QCOMPARE(literal::bubbleSort(*reference, Surname), 1); // the reference itself is sound
    Store store = storeOf(rows, Surname);
    sortSlots(*store, Surname);
    QVERIFY(sameStores(*store, *reference));
    QCOMPARE(store->cell(SortedSlotCount, OtherDetail2), "340");
}

void TestUserdbTools::sortMatchesLiteralBubbleSort() {
    QRandomGenerator random(77);
    const QList<int> keyColumns = {SerialNumber, Surname, OtherNames, Address1,     Address2,
                                   Suburb,       State,   PostCode,   OtherDetail1, OtherDetail2};
    for (int round = 0; round < 30; ++round) {
        const int keyColumn = keyColumns.at(random.bounded(keyColumns.size()));
        Store fast = newStore();
        const int used = random.bounded(0, 345);
        for (int slot = 1; slot <= used; ++slot) {
            fast->setCell(slot, SerialNumber, randomKey(random));
            fast->setCell(slot, keyColumn, randomKey(random));
            fast->setCell(slot, AuxiliaryWord, QString::number(slot)); // tells equal keys apart
        }
        Store reference = std::make_unique<RecordStore>(*fast);
        sortSlots(*fast, keyColumn);
        literal::bubbleSort(*reference, keyColumn);
        QVERIFY2(sameStores(*fast, *reference), qPrintable(QStringLiteral("round %1").arg(round)));
    }
}

void TestUserdbTools::mergeCases_data() {
    QTest::addColumn<QStringList>("open"); // serials of slots 1..; "-" = slot with details only
    QTest::addColumn<QStringList>("file"); // serials of the merge buffer's slots 1..
    QTest::addColumn<bool>("deleteMissing");
    QTest::addColumn<bool>("addExtra");
    QTest::addColumn<QStringList>("result"); // serials of slots 1.. afterwards

    const QStringList open = {"0000000A", "0000000B", "0000000C"};
    QTest::newRow("neither option") << open << QStringList{"0000000D"} << false << false << open;
    QTest::newRow("delete, letter case ignored")
        << open << QStringList{"0000000b", "0000000c"} << true << false
        << QStringList{"", "0000000B", "0000000C"};
    QTest::newRow("add, letter case ignored")
        << open << QStringList{"0000000a", "", "0000000E"} << false << true
        << QStringList{"0000000A", "0000000B", "0000000C", "0000000E"};
    QTest::newRow("00000000 is an entry")
        << QStringList{"00000000", "0000000A"} << QStringList{"0000000A"} << true << false
        << QStringList{"", "0000000A"};
    QTest::newRow("00000000 kept when the file has it")
        << QStringList{"00000000"} << QStringList{"00000000"} << true << true
        << QStringList{"00000000", ""};
    QTest::newRow("delete then add fills freed slots lowest first")
        << open << QStringList{"0000000E", "0000000B", "0000000F"} << true << true
        << QStringList{"0000000E", "0000000B", "0000000F", ""};
    QTest::newRow("slot with details but no serial is not free")
        << QStringList{"-", "0000000A"} << QStringList{"0000000E"} << false << true
        << QStringList{"", "0000000A", "0000000E"};
    QTest::newRow("serial twice in the file added once")
        << QStringList{} << QStringList{"0000000E", "0000000e", "0000000E"} << false << true
        << QStringList{"0000000E", ""};
}

void TestUserdbTools::mergeCases() {
    QFETCH(QStringList, open);
    QFETCH(QStringList, file);
    QFETCH(bool, deleteMissing);
    QFETCH(bool, addExtra);
    QFETCH(QStringList, result);

    Store store = newStore();
    for (int i = 0; i < open.size(); ++i) {
        store->setCell(i + 1, SerialNumber, open.at(i) == "-" ? QString() : open.at(i));
        store->setCell(i + 1, Surname, "open " + open.at(i));
    }
    Store buffer = newStore();
    for (int i = 0; i < file.size(); ++i) {
        buffer->setCell(i + 1, SerialNumber, file.at(i));
        buffer->setCell(i + 1, Surname, "file " + file.at(i));
        buffer->setCell(i + 1, AuxiliaryWord, "AUX" + QString::number(i));
    }
    Store reference = std::make_unique<RecordStore>(*store);
    mergeDatabases(*store, *buffer, MergeOptions{deleteMissing, addExtra});
    literal::merge(*reference, *buffer, deleteMissing, addExtra);

    QCOMPARE(serialsOf(*store, int(result.size())), result);
    QVERIFY(sameStores(*store, *reference));
    for (int slot = 1; slot <= int(result.size()); ++slot) {
        const QString &serial = store->cell(slot, SerialNumber);
        const int inOpen = int(open.indexOf(serial));
        // Entries of the open database keep their own details; added ones bring all of theirs.
        if (inOpen == slot - 1 && !serial.isEmpty())
            QCOMPARE(store->cell(slot, Surname), "open " + serial);
        else if (!serial.isEmpty())
            QCOMPARE(store->cell(slot, Surname), "file " + serial);
        else if (store->cell(slot, Surname).isEmpty())
            QVERIFY(store->isFree(slot)); // a deleted entry leaves nothing behind
    }
}

void TestUserdbTools::mergeFullStoreDropsSilently() {
    Store store = newStore();
    for (int slot = 1; slot <= SlotCount; ++slot)
        store->setCell(slot, Surname, "taken");
    store->setCell(4000, Surname, QString());
    Store buffer = newStore();
    buffer->setCell(1, SerialNumber, "0000000E");
    buffer->setCell(2, SerialNumber, "0000000F");
    mergeDatabases(*store, *buffer, MergeOptions{false, true});
    QCOMPARE(store->cell(4000, SerialNumber), "0000000E");
    QCOMPARE(usedSlotCount(*store), 1);
}

void TestUserdbTools::mergeMatchesLiteralScan() {
    QRandomGenerator random(99);
    for (int round = 0; round < 12; ++round) {
        Store store = newStore();
        Store buffer = newStore();
        // Sparse stores with near-full ones now and then, so the add pass runs out of room.
        const int step = round % 4 == 0 ? 1 : random.bounded(5, 40);
        for (int slot = 1; slot <= SlotCount; slot += step) {
            if (random.bounded(3) > 0)
                store->setCell(slot, SerialNumber, QString::number(random.bounded(600), 16));
            if (random.bounded(4) == 0)
                store->setCell(slot, Suburb, randomKey(random));
        }
        for (int slot = 1; slot <= 400; ++slot) {
            const QString serial = QString::number(random.bounded(600), 16);
            buffer->setCell(slot, SerialNumber, random.bounded(2) ? serial.toUpper() : serial);
            buffer->setCell(slot, Surname, QString::number(slot));
        }
        const bool deleteMissing = random.bounded(2);
        const bool addExtra = random.bounded(4) > 0;
        Store reference = std::make_unique<RecordStore>(*store);
        mergeDatabases(*store, *buffer, MergeOptions{deleteMissing, addExtra});
        literal::merge(*reference, *buffer, deleteMissing, addExtra);
        QVERIFY2(sameStores(*store, *reference), qPrintable(QStringLiteral("round %1").arg(round)));
    }
}

void TestUserdbTools::bulkFill_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QStringList>("serials"); // slots 1.. afterwards

    QTest::newRow("1A x 3") << "1A"
                            << "3" << QStringList{"0000001A", "0000001B", "0000001C", "old4"};
    QTest::newRow("carry") << "0000FFFF"
                           << "2" << QStringList{"0000FFFF", "00010000", "old3"};
    QTest::newRow("empty start") << ""
                                 << "2" << QStringList{"00000000", "00000001", "old3"};
    QTest::newRow("fraction cut off") << "A"
                                      << "2.7" << QStringList{"0000000A", "0000000B", "old3"};
    QTest::newRow("up to the last serial") << "FFFFFFFE"
                                           << " 2 " << QStringList{"FFFFFFFE", "FFFFFFFF"};
    QTest::newRow("count 0 does nothing") << "1"
                                          << "0" << QStringList{"old1", "old2"};
    QTest::newRow("negative count does nothing") << "1"
                                                 << "-4" << QStringList{"old1"};
    QTest::newRow("0.9 does nothing") << "1"
                                      << "0.9" << QStringList{"old1"};
}

void TestUserdbTools::bulkFill() {
    QFETCH(QString, start);
    QFETCH(QString, count);
    QFETCH(QStringList, serials);
    Store store = newStore();
    for (int slot = 1; slot <= 4; ++slot) {
        store->setCell(slot, SerialNumber, "old" + QString::number(slot));
        store->setCell(slot, Surname, "owner" + QString::number(slot));
    }
    const BulkFillResult result = userdb::bulkFill(*store, start, count);
    QCOMPARE(result.error, QString());
    const int written = int(std::count_if(serials.begin(), serials.end(),
                                          [](const QString &s) { return !s.startsWith("old"); }));
    QCOMPARE(result.changed, written > 0);
    QCOMPARE(result.lastSlot, written);
    QCOMPARE(serialsOf(*store, int(serials.size())), serials);
    for (int slot = 1; slot <= 4; ++slot)
        QCOMPARE(store->cell(slot, Surname), "owner" + QString::number(slot));
}

void TestUserdbTools::bulkFillRefusals_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("error");

    const QString notNumber = "Please enter the number of Remlets as a number.";
    const QString badStart =
        "The start serial number must be up to 8 hexadecimal digits (0 to 9 and A to F).";
    QTest::newRow("empty count") << "1"
                                 << "" << notNumber;
    QTest::newRow("words for count") << "1"
                                     << "three" << notNumber;
    QTest::newRow("infinite count") << "1"
                                    << "inf" << notNumber;
    QTest::newRow("grouped digits") << "1"
                                    << "1,000" << notNumber;
    QTest::newRow("count above 340") << "1"
                                     << "341"
                                     << "At most 340 Remlets can be filled at once.";
    QTest::newRow("lowercase start") << "1a"
                                     << "2" << badStart;
    QTest::newRow("nine digit start") << "000000001"
                                      << "2" << badStart;
    QTest::newRow("passes FFFFFFFF")
        << "FFFFFFFE"
        << "3"
        << "3 Remlets from FFFFFFFE would pass the last serial number FFFFFFFF.";
}

void TestUserdbTools::bulkFillRefusals() {
    QFETCH(QString, start);
    QFETCH(QString, count);
    QFETCH(QString, error);
    Store store = newStore();
    store->setCell(1, SerialNumber, "0000000A");
    const Store before = std::make_unique<RecordStore>(*store);
    const BulkFillResult result = userdb::bulkFill(*store, start, count);
    QCOMPARE(result.error, error);
    QVERIFY(!result.changed);
    QVERIFY(sameStores(*store, *before));
}

QTEST_GUILESS_MAIN(TestUserdbTools)
#include "test_userdb_tools.moc"
