// Nothing lost in everyday file work: the question before unsaved changes go, names that never
// take an existing file's, the previous version kept and text a file cannot hold. (Slots that
// change after a program sent them are the programmer test's comparison table.)
#include "appharness.h"
#include "tests/common/datacolumns.h"

#include "app/editor/fieldinput.h"
#include "tests/common/testfiles.h"

using platform::Answer;

namespace {

const QByteArray Site = "\"Site\"\r\n" + slotLine("0000001A", "Smith");

// A row of the question's table: what the user does, and whether it went ahead.
struct Step {
    Action act;
    std::function<bool(AppHarness &)> wentOn;
};

} // namespace

Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(std::optional<Answer>)

class FileWorkTest : public InOwnFolder {
    Q_OBJECT

private slots:
    void init() {
        for (const QString &name : QDir().entryList({"*.fxd", "*.csv"}, QDir::Files))
            QFile::remove(name);
        QVERIFY(writeFile(path("site.fxd"), Site));
        QVERIFY(writeFile(path("other.fxd"), "\"\"\r\n" + slotLine("0000002B", "Other")));
        QVERIFY(writeFile(path("users.csv"), "Serial Number,Surname\r\n0000003C,Csv\r\n"));
    }

    // Before a command that replaces or closes the database: no question when nothing is
    // unsaved; Save saves first, Discard goes on, Cancel changes nothing.
    void unsavedChangesAreAskedAbout_data() {
        // answer: none: no question expected
        addColumns<Step, bool, std::optional<Answer>>("step", "unsaved", "answer");
        const auto closed = [](AppHarness &h) { return !h.w().isDatabaseOpen(); };
        const auto surname = [](const char *text) {
            return [=](AppHarness &h) { return h.w().records().cell(1, userdb::Surname) == text; };
        };
        const QString other = path("other.fxd");
        using enum app::Command;
        const auto commands = std::vector<std::pair<const char *, Step>>{
            {"Close", {run({CloseDatabase}), closed}},
            {"Close by the toolbar", {[](AppHarness &h) { h.clickToolbar("close1"); }, closed}},
            {"New", {run({NewDatabase}), surname("")}},
            {"Load", {[=](AppHarness &h) { h.load(other); }, surname("Other")}},
            {"a file from outside",
             {[=](AppHarness &h) { h.w().openFile(other); }, surname("Other")}},
            {"Read", {run({ReadReceiver}), surname("")}},
            {"Read the tag", {run({ReadTag}), surname("")}},
            {"Import CSV",
             {[this](AppHarness &h) { h.runWithDocument(ImportCsv, path("users.csv")); },
              surname("Csv")}},
            {"closing the window",
             {[](AppHarness &h) { h.w().close(); },
              [](AppHarness &h) { return !h.w().isVisible(); }}},
        };
        for (const auto &[name, step] : commands) {
            const QByteArray base(name);
            QTest::newRow(base + ", nothing unsaved") << step << false << std::optional<Answer>();
            for (const auto &[answer, word] : {std::pair{Answer::Save, "Save"},
                                               {Answer::Discard, "Discard"},
                                               {Answer::Cancel, "Cancel"}})
                QTest::newRow(base + ", " + word) << step << true << std::optional(answer);
        }
    }
    void unsavedChangesAreAskedAbout() {
        QFETCH(Step, step);
        QFETCH(bool, unsaved);
        QFETCH(std::optional<Answer>, answer);
        StartedApp h;
        h.w().show();
        h.load(path("site.fxd"));
        if (unsaved)
            h.w().database().setCell(1, userdb::Surname, "Edited");
        if (answer)
            h.dialogs.queueAnswer(*answer);
        step.act(h);
        QCOMPARE(h.dialogs.questions().size(), answer ? 1 : 0);
        QCOMPARE(h.dialogs.unexpectedQuestions(), 0);
        QCOMPARE(step.wentOn(h), answer != Answer::Cancel);
        QCOMPARE(readFile(path("site.fxd")).contains("Edited"), answer == Answer::Save);
        if (answer == Answer::Cancel)
            QCOMPARE(h.shownTitle(), "Corvane Systems Remlet Manager - " + path("site.fxd") + "*");
    }

    // Closing while a transfer runs asks first whether to stop it.
    void closingDuringATransfer() {
        AppHarness h(1, {.ackDelay = 1.0});
        h.startWithDatabase();
        h.w().show();
        h.w().database().setCell(1, userdb::SerialNumber, "0000ABCD");
        bool stillOpen = false;
        h.timeline.after(0.5, [&] {
            h.dialogs.queueAnswer(Answer::No);
            h.w().close();
            stillOpen = h.w().isVisible();
            h.dialogs.queueAnswer(Answer::Yes);
            h.dialogs.queueAnswer(Answer::Discard);
            h.w().close();
        });
        h.w().runCommand(app::Command::ProgramReceiver);
        QVERIFY(stillOpen && !h.w().isVisible());
        QCOMPARE(h.dialogs.questions().first(), "A transfer is running. Stop it and close?");
    }

    // A read replaces the database, shows slot 1 and is saved at once, but never over a file:
    // each takes the first free Untitled name, which the title shows. New and an import have no
    // file of their own: the first Save asks where, proposing the first free Untitled name, or
    // the spreadsheet's name beside it. A Save that cannot be done stops the command that asked.
    void newNamesNeverTakeAnExistingFile() {
        AppHarness h;
        for (int slot = 1; slot <= 3; ++slot) {
            const QByteArray digit = QByteArray::number(slot);
            h.programmer.model().receiver().setSlot(slot, {"0000100" + digit, "000" + digit});
        }
        h.w().startUp();
        h.w().runCommand(app::Command::ReadReceiver);
        QCOMPARE(h.w().records().cell(3, userdb::AuxiliaryWord), "0003");
        QCOMPARE(h.child<QLineEdit>("txtRemlet")->text(), "00001001");
        QVERIFY(h.child("fraTXUsers")->isEnabled() && !h.child("prbDownload")->isVisibleTo(&h.w()));
        QVERIFY(readFile("Untitled.fxd").contains("\"00001002\",\"0002\""));
        h.w().runCommand(app::Command::ReadReceiver);
        QVERIFY(QFile::exists("Untitled.fxd") && QFile::exists("Untitled 2.fxd"));
        QCOMPARE(h.shownTitle(), "Corvane Systems Remlet Manager - Untitled 2.fxd");

        h.w().runCommand(app::Command::NewDatabase);
        h.w().database().setCell(1, userdb::Surname, "Typed");
        h.dialogs.queueAnswer(Answer::Save);
        h.runWithFile(app::Command::CloseDatabase, std::nullopt); // Save As cancelled
        QVERIFY(h.w().isDatabaseOpen() && h.w().records().cell(1, userdb::Surname) == "Typed");
        h.runWithFile(app::Command::SaveDatabase, path("new.fxd"));
        QCOMPARE(h.files.shown().last().proposedName, "Untitled 3.fxd");
        QVERIFY(QFile::exists(path("new.fxd")));

        h.runWithDocument(app::Command::ImportCsv, path("users.csv"));
        QCOMPARE(h.shownTitle(), "Corvane Systems Remlet Manager - " + path("users.fxd") + "*");
        QVERIFY(writeFile(path("users.fxd"), Site)); // appears meanwhile: still not written
        h.runWithFile(app::Command::SaveDatabase, path("kept.fxd"));
        QCOMPARE(h.files.shown().last().kind, platform::FakeFileDialog::Kind::Save);
        QCOMPARE(h.files.shown().last().proposedName, path("users.fxd"));
        QCOMPARE(readFile(path("users.fxd")), Site);
        QVERIFY(readFile(path("kept.fxd")).contains("0000003C"));
        QCOMPARE(h.dialogs.unexpectedQuestions(), 0);
        QCOMPARE(h.dialogs.messages().size(), 2); // the size messages of start-up only
    }

    // Text that a database file cannot hold is said when the file is loaded; Save offers to
    // store it with "?" for each such character, or changes nothing. The first save over a file
    // since the database was opened keeps the file as it was; later saves leave that copy alone;
    // the setting can turn it off and is remembered.
    void unstorableTextAndThePreviousVersion() {
        QSettings().remove("Files/KeepPreviousVersion");
        // Read as UTF-8 (its mark): slot 341 holds a character outside Windows-1252, slot 2 a
        // double quote from an unquoted field.
        QByteArray file = "\xEF\xBB\xBF\"\"\r\n" + slotLine("0000001A", "Smith") +
                          "\"0000001B\",\"\",Jo\"e" + QByteArray(",\"\"").repeated(10) + "\r\n";
        for (int slot = 3; slot <= 340; ++slot)
            file += slotLine("0000FFFF");
        file += slotLine("0000001C", "Zo\xE2\x84\xA6");
        QVERIFY(writeFile(path("odd.fxd"), file));
        AppHarness h(0);
        h.load(path("odd.fxd"));
        QCOMPARE(h.dialogs.messages().size(), 1);
        QCOMPARE(h.dialogs.messages().first().icon, platform::MessageIcon::Warning);
        QVERIFY2(h.dialogs.texts().first().contains("Slot 2, Surname\nSlot 341, Surname"),
                 qPrintable(h.dialogs.texts().first()));
        h.runAnswering(app::Command::SaveDatabase, Answer::Cancel);
        QCOMPARE(readFile(path("odd.fxd")), file);
        QVERIFY(h.dialogs.questions().last().startsWith("2 characters cannot be stored"));
        h.runAnswering(app::Command::SaveDatabase, Answer::Save);
        QCOMPARE(h.w().records().cell(2, userdb::Surname), "Jo?e");
        QCOMPARE(h.w().records().cell(341, userdb::Surname), "Zo?");
        QVERIFY(readFile(path("odd.fxd")).endsWith(slotLine("0000001C", "Zo?")));
        QCOMPARE(h.shownTitle(), "Corvane Systems Remlet Manager - " + path("odd.fxd"));

        h.load(path("site.fxd"));
        h.w().database().setCell(1, userdb::Surname, "First");
        h.w().runCommand(app::Command::SaveDatabase);
        QCOMPARE(readFile(path("site.old.fxd")), Site);
        QCOMPARE(h.w().statusText(), "Saved; the previous version is in site.old.fxd");
        h.w().database().setCell(1, userdb::Surname, "Second");
        h.w().runCommand(app::Command::SaveDatabase);
        QCOMPARE(readFile(path("site.old.fxd")), Site);
        QVERIFY(readFile(path("site.fxd")).contains("Second"));
        // Save As over another database keeps it too.
        h.runWithFile(app::Command::SaveDatabaseAs, path("other.fxd"));
        QVERIFY(readFile(path("other.old.fxd")).contains("Other"));

        h.w().menuAction("mnuKeepPreviousVersion")->setChecked(false);
        AppHarness later(0);
        QVERIFY(!later.w().menuAction("mnuKeepPreviousVersion")->isChecked());
        later.load(path("other.fxd"));
        QFile::remove(path("other.old.fxd"));
        later.w().runCommand(app::Command::SaveDatabase);
        QVERIFY(!QFile::exists(path("other.old.fxd")));
        later.w().menuAction("mnuKeepPreviousVersion")->setChecked(true);
    }
};

QTEST_MAIN(FileWorkTest)
#include "test_filework.moc"
