// A real spreadsheet program between the export and the import: LibreOffice opens the exported
// workbook, its cells are read back as it sees them, and its own .xlsx of them is imported.
// Skipped where LibreOffice is not installed (scripts/install-deps --ci installs it).
#include "tests/common/filledslots.h"
#include "tests/common/testfiles.h"
#include "userdb/csvreader.h"
#include "userdb/spreadsheetfiles.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace userdb;

namespace {

// Values that a spreadsheet reading text without being told changes: hexadecimal serials with
// an E, leading zeros, formulas, a day and month, numbers and dates in text columns.
RecordStore tenantList() {
    const QStringList serials = {"1234E567", "0001E500", "1E000007", "00001234", "0000ABCD"};
    const QStringList surnames = {"12/03", "=1+2", "3.14", "2025-03-12", "TRUE"};
    RecordStore store;
    for (int i = 0; i < serials.size(); ++i) {
        const int slot = 1 + 2 * i;
        store.setCell(slot, SerialNumber, serials.at(i));
        store.setCell(slot, AuxiliaryWord, "0001");
        store.setCell(slot, Surname, surnames.at(i));
        store.setCell(slot, PostCode, "0800");
        store.setCell(slot, Telephone, "+61 3 9397 1234");
    }
    store.setCell(3, OtherDetail2, QStringLiteral("M\u00FCller \u20AC _x0041_"));
    return store;
}

} // namespace

class TestSpreadsheetClient : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    // Runs LibreOffice without a window on `file`, converting it to `format` in `folder`.
    void convert(const QString &file, const QString &format, const QString &folder) {
        QProcess office;
        office.start(
            QStringLiteral("soffice"),
            {"-env:UserInstallation=" + QUrl::fromLocalFile(m_dir.filePath("profile")).toString(),
             "--headless", "--convert-to", format, "--outdir", folder, file});
        QVERIFY2(office.waitForFinished(120000), "LibreOffice did not finish");
        QVERIFY2(office.exitCode() == 0, office.readAllStandardError().constData());
    }

private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
            QSKIP("LibreOffice (Debian package libreoffice-calc-nogui, installed by "
                  "scripts/install-deps --ci) is missing");
    }

    void throughLibreOffice() {
        const RecordStore store = tenantList();
        const QString address = "Harbour Towers\n1 Beach Road";
        const QString exported = m_dir.filePath("users.xlsx");
        QCOMPARE(exportSpreadsheetFile(exported, address, store), QString());

        // LibreOffice's own file of it, then every sheet as text the way LibreOffice shows it.
        convert(exported, "ods", m_dir.filePath("ods"));
        const QString ods = m_dir.filePath("ods/users.ods");
        convert(ods,
                "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1",
                m_dir.filePath("shown"));
        const QString shown =
            decodeSpreadsheetText(readFile(m_dir.filePath("shown/users-Users.csv")));
        CsvReader reader(shown, u',');
        QStringList cells;
        QVERIFY(reader.readRow(cells));
        QCOMPARE(cells.mid(0, 4),
                 (QStringList{"Slot", "Serial Number", "Auxiliary Word", "Surname"}));
        for (int slot = 1; slot <= 9; slot += 2) {
            QVERIFY(reader.readRow(cells));
            QCOMPARE(cells.value(0), QString::number(slot));
            for (int column = 1; column <= ColumnCount; ++column)
                QCOMPARE(cells.value(column), store.cell(slot, column));
        }
        QCOMPARE(decodeSpreadsheetText(readFile(m_dir.filePath("shown/users-Database.csv"))),
                 "Database Address,\"" + address + "\"\n");

        // LibreOffice writes the workbook again; the import reads its cells.
        convert(ods, "xlsx", m_dir.filePath("back"));
        const SpreadsheetImport back = importSpreadsheetFile(m_dir.filePath("back/users.xlsx"));
        QCOMPARE(back.error, QString());
        QCOMPARE(back.address, address);
        QCOMPARE(filledSlots(back.records), filledSlots(store));
    }
};

QTEST_GUILESS_MAIN(TestSpreadsheetClient)
#include "test_spreadsheet_client.moc"
