#include "userdb/capturedserial.h"
#include "userdb/opendatabase.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

using namespace userdb;

class TestUserdbOpen : public QObject {
    Q_OBJECT

private slots:
    void cellEditsAnnounceRealChanges_data() {
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("cellSignals");
        QTest::addColumn<QList<int>>("peers"); // the serialPeersChanged argument, if any
        // Slots 1 and 2 hold "1A2B3C4D", slot 3 "CAFEF00D", slot 4 Surname "Nguyen".
        QTest::newRow("same text") << 4 << int(Surname) << "Nguyen" << 0 << QList<int>();
        QTest::newRow("serial case only")
            << 1 << int(SerialNumber) << "1a2b3c4d" << 1 << QList<int>();
        QTest::newRow("serial leaves a pair") << 2 << int(SerialNumber) << "" << 1 << QList<int>{1};
        QTest::newRow("serial moves between groups")
            << 2 << int(SerialNumber) << "cafef00d" << 1 << QList<int>{1, 3};
        QTest::newRow("slot out of range") << 4096 << int(Surname) << "X" << 0 << QList<int>();
    }

    void cellEditsAnnounceRealChanges() {
        QFETCH(int, slot);
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(int, cellSignals);
        QFETCH(QList<int>, peers);
        OpenDatabase database;
        RecordStore store;
        store.setCell(1, SerialNumber, "1A2B3C4D");
        store.setCell(2, SerialNumber, "1A2B3C4D");
        store.setCell(3, SerialNumber, "CAFEF00D");
        store.setCell(4, Surname, "Nguyen");
        database.replaceRecords(store);

        QSignalSpy cells(&database, &OpenDatabase::cellChanged);
        QSignalSpy peerSignals(&database, &OpenDatabase::serialPeersChanged);
        QSignalSpy resets(&database, &OpenDatabase::recordsChanged);
        database.setCell(slot, column, text);
        QCOMPARE(cells.size(), cellSignals);
        if (cellSignals > 0) {
            QCOMPARE(cells.first(), (QList<QVariant>{slot, column}));
            QCOMPARE(database.cell(slot, column), text);
        }
        QCOMPARE(peerSignals.size(), peers.isEmpty() ? 0 : 1);
        if (!peers.isEmpty())
            QCOMPARE(peerSignals.first().first().value<QList<int>>(), peers);
        QCOMPARE(resets.size(), 0);
    }

    void wholeChangesAnnounceOnceAndReindex() {
        OpenDatabase database;
        QSignalSpy resets(&database, &OpenDatabase::recordsChanged);
        QSignalSpy cells(&database, &OpenDatabase::cellChanged);

        RecordStore loaded;
        loaded.setCell(7, SerialNumber, "0000001A");
        loaded.setCell(9, SerialNumber, "0000001a");
        database.replaceRecords(loaded);
        QCOMPARE(resets.size(), 1);
        QCOMPARE(database.otherSlotsWithSerial("0000001A", 7), QList<int>{9});

        database.changeRecords([](RecordStore &store) {
            store.swapRecords(7, 1);
            store.setCell(2, SerialNumber, "0000001A");
        });
        QCOMPARE(resets.size(), 2);
        QCOMPARE(database.serials().slotsWith("0000001A"), (QList<int>{1, 2, 9}));

        // A change that fails half-way still announces (and indexes) what it did.
        struct Failed {};
        QVERIFY_THROWS_EXCEPTION(Failed, database.changeRecords([](RecordStore &store) {
            store.setCell(3, SerialNumber, "0000001A");
            throw Failed{};
        }));
        QCOMPARE(resets.size(), 3);
        QCOMPARE(database.serials().slotsWith("0000001A"), (QList<int>{1, 2, 3, 9}));

        database.clearRecords();
        QCOMPARE(resets.size(), 4);
        QVERIFY(database.serials().slotsWith("0000001A").isEmpty());
        QVERIFY(database.records().cell(9, SerialNumber).isEmpty());
        QCOMPARE(cells.size(), 0);
    }

    void incrementalIndexMatchesRebuild() {
        // Serial edits over a few slots, drawn to collide; after each, the index kept up to date
        // edit by edit answers as one built afresh.
        const QStringList pool = {"",         "00000000", "0000000a", "0000000A",
                                  "1A2B3C4D", "1a2b3c4d", "12"};
        QRandomGenerator random(20250301);
        OpenDatabase database;
        for (int edit = 0; edit < 2000; ++edit) {
            database.setCell(1 + int(random.bounded(12)), SerialNumber,
                             pool.at(random.bounded(pool.size())));
            SerialIndex fresh;
            fresh.rebuild(database.records());
            for (const QString &serial : pool)
                QCOMPARE(database.serials().slotsWith(serial), fresh.slotsWith(serial));
            for (int slot = 1; slot <= 12; ++slot)
                QCOMPARE(database.serials().isDuplicated(slot), fresh.isDuplicated(slot));
        }
    }

    void capturedSerial_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("serial");
        QTest::newRow("one serial") << "RX 0000001A"
                                    << "0000001A";
        QTest::newRow("the last of two") << "A 11111111 22222222"
                                         << "22222222";
        QTest::newRow("nine digits") << "123456789"
                                     << "";
        QTest::newRow("seven digits") << "RX 1234567"
                                      << "";
        QTest::newRow("lower case") << "rx 1a2b3c4d"
                                    << "1A2B3C4D";
        QTest::newRow("a later longer run") << "1A2B3C4D FFFFFFFFF"
                                            << "1A2B3C4D";
        QTest::newRow("run at the start") << "DEADBEEF:ok"
                                          << "DEADBEEF";
        QTest::newRow("empty line") << ""
                                    << "";
    }

    void capturedSerial() {
        QFETCH(QString, line);
        QFETCH(QString, serial);
        QCOMPARE(userdb::capturedSerial(line), serial);
    }
};

QTEST_GUILESS_MAIN(TestUserdbOpen)
#include "test_userdb_open.moc"
