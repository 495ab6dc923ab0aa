// Sorting, merging and the bulk fill as the user runs them from their panels.
#include "appharness.h"

#include "userdb/databasefile.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

using platform::MessageIcon;

class ToolsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    template <typename T> static T *child(AppHarness &h, const char *name) {
        return h.w().findChild<T *>(QLatin1String(name));
    }

    template <typename Store> static void setSerials(Store &store, const QStringList &serials) {
        for (int i = 0; i < serials.size(); ++i)
            store.setCell(i + 1, userdb::SerialNumber, serials.at(i));
    }

    QString writeDatabaseFile(const QString &name, const QStringList &serials) {
        userdb::RecordStore store;
        setSerials(store, serials);
        const QString path = m_dir.filePath(name);
        return userdb::saveDatabaseFile(path, QString(), store).isEmpty() ? path : QString();
    }

private slots:
    void sortFromItsPanel() {
        AppHarness h(0);
        h.w().runCommand(app::Command::NewDatabase);
        setSerials(h.w().database(), {"0000000C", "", "0000000A", "0000000B"});
        h.w().database().setCell(2, userdb::Surname, QStringLiteral("No fob"));
        h.w().database().setCell(400, userdb::SerialNumber, QStringLiteral("00000001"));
        h.w().hscSlot_Change(4);
        h.w().runCommand(app::Command::SortDatabase);
        auto *panel = child<QGroupBox>(h, "fraSort");
        QVERIFY(panel->isVisibleTo(&h.w()));
        child<QRadioButton>(h, "optSerialNumber")->click();
        // A command waiting in the event loop (a read, say) cannot run inside the sort and be
        // overwritten by its copy back: it runs after it.
        QTimer::singleShot(0, &h.w(), [&] {
            h.w().database().setCell(5, userdb::SerialNumber, QStringLiteral("FFFFFFFF"));
        });
        child<QPushButton>(h, "cmdSortNow")->click();
        QCoreApplication::processEvents();
        QCOMPARE(h.w().records().cell(5, userdb::SerialNumber), QStringLiteral("FFFFFFFF"));
        QCOMPARE(h.w().records().cell(1, userdb::SerialNumber), QStringLiteral("0000000A"));
        QCOMPARE(h.w().records().cell(3, userdb::SerialNumber), QStringLiteral("0000000C"));
        QCOMPARE(h.w().records().cell(4, userdb::Surname), QStringLiteral("No fob"));
        QCOMPARE(h.w().records().cell(400, userdb::SerialNumber), QStringLiteral("00000001"));
        QCOMPARE(h.w().EditSlotNumber, 1);
        QCOMPARE(h.child<QLineEdit>("txtRemlet")->text(), QStringLiteral("0000000A"));
        QVERIFY(!panel->isVisibleTo(&h.w()));
        QVERIFY(panel->isEnabled() && h.child("fraTXUsers")->isEnabled());
    }

    void mergeFromItsPanel() {
        AppHarness h(0);
        h.w().runCommand(app::Command::NewDatabase);
        setSerials(h.w().database(), {"0000000a", "0000000B"});
        h.w().database().setCell(1, userdb::Surname, QStringLiteral("Kept"));
        const QString file =
            writeDatabaseFile(QStringLiteral("other.fxd"), {"0000000A", "0000000C", "0000000C"});
        QVERIFY(!file.isEmpty());
        h.w().runCommand(app::Command::MergeDatabase);
        child<QCheckBox>(h, "chkDelMissing")->setChecked(true);
        child<QCheckBox>(h, "chkAddExtra")->setChecked(true);
        h.files.queueAnswer(file);
        child<QPushButton>(h, "cmdMergeDatabase")->click();
        QCOMPARE(h.w().records().cell(1, userdb::Surname), QStringLiteral("Kept"));
        QCOMPARE(h.w().records().cell(2, userdb::SerialNumber), QStringLiteral("0000000C"));
        QCOMPARE(h.w().Remlet_Count(), 2);
        QCOMPARE(child<QLabel>(h, "Label4")->text(), QStringLiteral("3"));
        QCOMPARE(h.w().DatabaseFilename, file);
        QVERIFY(!child<QGroupBox>(h, "fraMergeDatabase")->isVisibleTo(&h.w()));
        QVERIFY(h.w().windowTitle().endsWith(file)); // Save writes the merged file: say so
    }

    void mergeOfAnUnreadableFileChangesNothing() {
        AppHarness h(0);
        h.w().runCommand(app::Command::NewDatabase);
        setSerials(h.w().database(), {"0000000A"});
        const QString bad = m_dir.filePath(QStringLiteral("cut.fxd"));
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\"\"\r\n\"0000000B\",\"\"\r\n");
        file.close();
        h.w().runCommand(app::Command::MergeDatabase);
        child<QCheckBox>(h, "chkDelMissing")->setChecked(true);
        h.files.queueAnswer(bad);
        child<QPushButton>(h, "cmdMergeDatabase")->click();
        QCOMPARE(h.dialogs.messages().size(), 1);
        QCOMPARE(h.dialogs.messages().at(0).icon, MessageIcon::Critical);
        QVERIFY(h.dialogs.messages().at(0).text.contains(bad));
        QCOMPARE(h.w().DatabaseFilename, QStringLiteral("Untitled.fxd"));
        QCOMPARE(h.w().records().cell(1, userdb::SerialNumber), QStringLiteral("0000000A"));
        QCOMPARE(child<QLabel>(h, "Label4")->text(), QString());
        QCOMPARE(h.w().Temp_Remlet_Count(), 0);
    }

    void bulkFill_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("lastSerial"); // empty: refused with a message
        QTest::addColumn<int>("shownSlot");
        QTest::newRow("1A x 3") << "1A"
                                << "3"
                                << "0000001C" << 3;
        QTest::newRow("2.7") << "FF"
                             << "2.7"
                             << "00000100" << 2;
        QTest::newRow("not a number") << "1A"
                                      << "three"
                                      << "" << 1;
        QTest::newRow("above the slots") << "1A"
                                         << "341"
                                         << "" << 1;
        QTest::newRow("past FFFFFFFF") << "FFFFFFFE"
                                       << "3"
                                       << "" << 1;
    }

    void bulkFill() {
        QFETCH(QString, start);
        QFETCH(QString, count);
        QFETCH(QString, lastSerial);
        QFETCH(int, shownSlot);
        AppHarness h(0);
        h.w().runCommand(app::Command::NewDatabase);
        h.w().database().setCell(2, userdb::Surname, QStringLiteral("Owner"));
        const userdb::RecordStore before = h.w().records();
        child<QLineEdit>(h, "txtSerialStart")->setText(start);
        child<QLineEdit>(h, "txtNumberFill")->setText(count);
        child<QPushButton>(h, "cmdBulk")->click();
        QCOMPARE(h.w().EditSlotNumber, shownSlot);
        if (lastSerial.isEmpty()) {
            QCOMPARE(h.dialogs.messages().size(), 1);
            QCOMPARE(h.dialogs.messages().at(0).icon, MessageIcon::Critical);
            for (int slot = 1; slot <= 340; ++slot)
                QCOMPARE(h.w().records().record(slot), before.record(slot));
        } else {
            QCOMPARE(h.dialogs.messages().size(), 0);
            QCOMPARE(h.w().records().cell(shownSlot, userdb::SerialNumber), lastSerial);
            QCOMPARE(h.child<QLineEdit>("txtRemlet")->text(), lastSerial);
            QCOMPARE(h.w().records().cell(2, userdb::Surname), QStringLiteral("Owner"));
        }
    }
};

QTEST_MAIN(ToolsTest)
#include "test_tools.moc"
