// The slot editor and the file commands as the user drives them.
#include "appharness.h"

#include "app/fieldinput.h"
#include "app/sloteditor.h"
#include "userdb/databasefile.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using platform::MessageIcon;

namespace {

QByteArray slotLine(const QByteArray &serial, const QByteArray &surname = {}) {
    return "\"" + serial + "\",\"\",\"" + surname +
           "\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n";
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class DatabaseTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

    // A window with a database loaded from `name`: slot 1 "0000001A" Smith, slot 2 "0000001B".
    void openSample(AppHarness &h, const QString &name) {
        writeFile(path(name),
                  "\"Site A\"\r\n" + slotLine("0000001A", "Smith") + slotLine("0000001B"));
        h.files.queueAnswer(path(name));
        h.w().runCommand(app::Command::LoadDatabase);
        QCOMPARE(h.dialogs.messages().size(), 0);
    }

    static QLineEdit *field(AppHarness &h, const char *name) {
        return h.w().findChild<QLineEdit *>(QLatin1String(name));
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir::setCurrent(m_dir.path()));
    }

    void newThenSaveWritesTheHeaderOnly() {
        AppHarness h(0);
        h.w().runCommand(app::Command::NewDatabase);
        QCOMPARE(h.w().windowTitle(),
                 QStringLiteral("Corvane Systems Remlet Manager - Untitled.fxd"));
        h.w().runCommand(app::Command::SaveDatabase);
        QCOMPARE(readFile(path("Untitled.fxd")), QByteArray("\"\"\r\n"));
    }

    void typedRecordIsSavedAndLoadedBack() {
        AppHarness h(0);
        h.w().runCommand(app::Command::NewDatabase);
        QTest::keyClicks(h.w().editor()->txtRemlet, "0000001A");
        QTest::keyClicks(field(h, "txtSurname"), "Smith");
        h.files.queueAnswer(path("typed.fxd"));
        h.w().runCommand(app::Command::SaveDatabaseAs);
        QCOMPARE(readFile(path("typed.fxd")), "\"\"\r\n" + slotLine("0000001A", "Smith"));
        QCOMPARE(h.w().windowTitle(),
                 QStringLiteral("Corvane Systems Remlet Manager - ") + path("typed.fxd"));
    }

    void loadFailuresLeaveTheOpenDatabaseAlone_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty") << QByteArray() << QStringLiteral("empty");
        QTest::newRow("cut short")
            << QByteArray("\"\"\r\n\"0000001A\",\"\",\"x\"\r\n") << QStringLiteral("cut short");
        QByteArray tooMany = "\"\"\r\n";
        for (int i = 0; i < 4096; ++i)
            tooMany += slotLine("00000001");
        QTest::newRow("too many records") << tooMany << QStringLiteral("more than 4095");
        QTest::newRow("missing file") << QByteArray("<none>") << QStringLiteral("No such file");
    }

    void loadFailuresLeaveTheOpenDatabaseAlone() {
        QFETCH(QByteArray, contents);
        QFETCH(QString, reason);
        AppHarness h(0);
        openSample(h, QStringLiteral("good.fxd"));
        h.w().hscSlot_Change(2);
        const QString title = h.w().windowTitle();
        const QString bad = path(QStringLiteral("bad.fxd"));
        QFile::remove(bad);
        if (contents != "<none>")
            writeFile(bad, contents);

        h.files.queueAnswer(bad);
        h.w().runCommand(app::Command::LoadDatabase);

        QCOMPARE(h.dialogs.messages().size(), 1);
        QCOMPARE(h.dialogs.messages().at(0).icon, MessageIcon::Critical);
        QVERIFY2(h.dialogs.messages().at(0).text.contains(bad),
                 qPrintable(h.dialogs.texts().at(0)));
        QVERIFY2(h.dialogs.messages().at(0).text.contains(reason),
                 qPrintable(h.dialogs.texts().at(0)));
        QCOMPARE(h.w().DatabaseFilename, path("good.fxd"));
        QCOMPARE(h.w().windowTitle(), title);
        QCOMPARE(h.w().records().cell(1, userdb::Surname), QStringLiteral("Smith"));
        QCOMPARE(h.w().EditSlotNumber, 2);
        QCOMPARE(h.w().editor()->txtRemlet->text(), QStringLiteral("0000001B"));
        QCOMPARE(h.w().editor()->txtDatabaseAddress->toPlainText(), QStringLiteral("Site A"));
    }

    void cancelledDialogsChangeNothing() {
        AppHarness h(0);
        openSample(h, QStringLiteral("cancel.fxd"));
        h.files.queueAnswer(std::nullopt);
        h.w().runCommand(app::Command::LoadDatabase);
        h.files.queueAnswer(std::nullopt);
        h.w().runCommand(app::Command::SaveDatabaseAs);
        QCOMPARE(h.files.shown().size(), 3);
        QCOMPARE(h.dialogs.messages().size(), 0);
        QCOMPARE(h.w().DatabaseFilename, path("cancel.fxd"));
        QCOMPARE(h.w().records().cell(1, userdb::SerialNumber), QStringLiteral("0000001A"));
    }

    void failedSaveIsReportedAndKeepsTheDatabase() {
        AppHarness h(0);
        openSample(h, QStringLiteral("keep.fxd"));
        const QByteArray before = readFile(path("keep.fxd"));
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder.fxd")));
        for (const QString &target : {path("no/such/folder/x.fxd"), path("folder.fxd")}) {
            h.dialogs.clear();
            h.files.queueAnswer(target);
            h.w().runCommand(app::Command::SaveDatabaseAs);
            QCOMPARE(h.dialogs.messages().size(), 1);
            QCOMPARE(h.dialogs.messages().at(0).icon, MessageIcon::Critical);
            QVERIFY(h.dialogs.messages().at(0).text.contains(target));
            QCOMPARE(h.w().DatabaseFilename, path("keep.fxd"));
            QVERIFY(h.w().windowTitle().endsWith(path("keep.fxd")));
        }
        QCOMPARE(readFile(path("keep.fxd")), before);
        QVERIFY(h.w().isDatabaseOpen());
    }

    void keyFiltersAndLengthLimits() {
        AppHarness h(0);
        h.w().runCommand(app::Command::NewDatabase);
        QLineEdit *serial = h.w().editor()->txtRemlet;
        QTest::keyClicks(serial, "12ab");
        QCOMPARE(serial->text(), QStringLiteral("12"));
        QCOMPARE(h.w().records().cell(1, userdb::SerialNumber), QStringLiteral("12"));
        QCOMPARE(h.dialogs.beeps(), 2);

        QLineEdit *surname = field(h, "txtSurname");
        QTest::keyClicks(surname, "O\"Brien, Pat");
        QCOMPARE(surname->text(), QStringLiteral("OBrien Pat"));
        surname->clear();
        QTest::keyClicks(surname, QString(60, QLatin1Char('x')));
        QCOMPARE(surname->text().size(), 50);

        QLineEdit *postCode = field(h, "txtPostCode");
        QTest::keyClicks(postCode, "3a0000");
        QCOMPARE(postCode->text(), QStringLiteral("30000"));
    }

    void pastedTextPassesTheSameFilter() {
        AppHarness h(0);
        h.w().runCommand(app::Command::NewDatabase);
        QLineEdit *surname = field(h, "txtSurname");
        surname->insert(QStringLiteral("Jones, \"Bob\" \u4E2D"));
        QCOMPARE(surname->text(), QStringLiteral("Jones Bob "));
        surname->selectAll(); // pasted over a longer selection
        surname->insert(QStringLiteral("A,\"B\",C"));
        QCOMPARE(surname->text(), QStringLiteral("ABC"));
        QLineEdit *serial = h.w().editor()->txtRemlet;
        serial->insert(QStringLiteral("0a1B2c3D4e5F6"));
        QCOMPARE(serial->text(), QStringLiteral("01B23D45"));
        auto *address = h.w().editor()->txtDatabaseAddress;
        QMimeData mime;
        mime.setText(QStringLiteral("1 Main St, \"North\"\nLevel 2"));
        address->insertFromMimeData(&mime);
        QCOMPARE(address->toPlainText(), QStringLiteral("1 Main St North\nLevel 2"));
    }

    void textFromAFileIsShownAndKeptWhole() {
        AppHarness h(0);
        const QByteArray longName(60, 'L');
        writeFile(path("long.fxd"), "\"\"\r\n\"0000001A\",\"\",\"" + longName +
                                        "\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n");
        h.files.queueAnswer(path("long.fxd"));
        h.w().runCommand(app::Command::LoadDatabase);
        QCOMPARE(field(h, "txtSurname")->text(), QString::fromLatin1(longName));
        QCOMPARE(h.w().records().cell(1, userdb::Surname), QString::fromLatin1(longName));
    }

    void stateListAndTypedState() {
        AppHarness h(0);
        h.w().runCommand(app::Command::NewDatabase);
        QComboBox *state = h.w().editor()->cboState;
        QCOMPARE(state->count(), 8);
        state->setCurrentIndex(state->findText(QStringLiteral("VIC")));
        QCOMPARE(h.w().records().cell(1, userdb::State), QStringLiteral("VIC"));
        state->lineEdit()->clear();
        QTest::keyClicks(state->lineEdit(), "North, \"Far\"");
        QCOMPARE(h.w().records().cell(1, userdb::State), QStringLiteral("North, Far"));
    }

    void slotChangesShowEachRecordAsTyped() {
        AppHarness h(0);
        h.w().runCommand(app::Command::NewDatabase);
        h.w().records().setCell(1, userdb::AuxiliaryWord, QStringLiteral("AB12"));
        QTest::keyClicks(h.w().editor()->txtRemlet, "0000001A");
        QTest::keyClicks(field(h, "txtSuburb"), "Carlton");
        QScrollBar *slot = h.w().editor()->hscSlot;
        slot->setValue(2);
        QCOMPARE(h.w().EditSlotNumber, 2);
        QCOMPARE(h.w().editor()->lblUserSlot->text(), QStringLiteral("2"));
        QCOMPARE(field(h, "txtSuburb")->text(), QString());
        QTest::keyClicks(field(h, "txtSuburb"), "Fitzroy");
        slot->setValue(1);
        QCOMPARE(h.w().editor()->txtRemlet->text(), QStringLiteral("0000001A"));
        QCOMPARE(field(h, "txtSuburb")->text(), QStringLiteral("Carlton"));
        QCOMPARE(h.w().records().cell(2, userdb::Suburb), QStringLiteral("Fitzroy"));
        QCOMPARE(h.w().records().cell(1, userdb::AuxiliaryWord), QStringLiteral("AB12"));
        QCOMPARE(h.w().editor()->lblRemletCount->text(), QStringLiteral("1"));

        h.w().records().setCell(400, userdb::SerialNumber, QStringLiteral("0000FFFF"));
        h.w().records().setCell(401, userdb::SerialNumber, QStringLiteral("00000000"));
        slot->setValue(3);
        QCOMPARE(h.w().editor()->lblRemletCount->text(), QStringLiteral("2"));
    }

    void serialCheckWarnsAndKeepsTheFocus() {
        AppHarness h(0);
        h.w().runCommand(app::Command::NewDatabase);
        h.w().show();
        QVERIFY(QTest::qWaitForWindowActive(&h.w()));
        QLineEdit *serial = h.w().editor()->txtRemlet;
        serial->setFocus();
        QTest::keyClicks(serial, "12");
        field(h, "txtSurname")->setFocus();
        QTRY_COMPARE(h.dialogs.messages().size(), 1);
        QCOMPARE(h.dialogs.texts().at(0),
                 QStringLiteral("Remlet serial number too short.\nPlease enter a full 8 digit "
                                "hexadecimal serial number or delete all numbers."));
        QCOMPARE(h.dialogs.messages().at(0).icon, MessageIcon::Critical);
        QCOMPARE(h.dialogs.messages().at(0).caption, QStringLiteral("RemletManager"));
        QTRY_COMPARE(QApplication::focusWidget(), serial);
        QCOMPARE(h.w().records().cell(1, userdb::SerialNumber), QStringLiteral("12"));

        serial->clear();
        field(h, "txtSurname")->setFocus();
        QTest::qWait(20);
        QCOMPARE(h.dialogs.messages().size(), 1);
    }

    void closeKeepsTheStoreAndNewEmptiesIt() {
        AppHarness h(0);
        openSample(h, QStringLiteral("close.fxd"));
        auto *exit = h.w().editor()->findChild<QToolButton *>(QStringLiteral("imgDatabaseExit"));
        exit->click();
        QVERIFY(!h.w().isDatabaseOpen());
        QVERIFY(!h.w().editor()->isVisibleTo(&h.w()));
        QCOMPARE(h.w().windowTitle(), QStringLiteral("Corvane Systems Remlet Manager"));
        QCOMPARE(h.w().records().cell(1, userdb::Surname), QStringLiteral("Smith"));
        h.w().runCommand(app::Command::NewDatabase);
        QCOMPARE(h.w().Remlet_Count(), 0);
        QCOMPARE(h.w().editor()->txtDatabaseAddress->toPlainText(), QStringLiteral("Site A"));
    }
};

QTEST_MAIN(DatabaseTest)
#include "test_database.moc"
