#include "app/print/userlistprint.h"
#include "app/print/userlisttable.h"
#include "tests/common/datacolumns.h"
#include "tests/common/testfiles.h"

#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace userdb;

namespace {

// The text of a PDF as pdftotext reads it, or a null text when it could not.
QString pdfText(const QString &path) {
    QProcess process;
    process.start("pdftotext", {"-layout", path, "-"});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

void skipWithoutPdftotext() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (Debian package poppler-utils, installed by scripts/install-deps) is "
              "missing, so the PDF's text cannot be read");
}

// `count` users in slots 1.., as a building manager would list them.
RecordStore typicalUsers(int count) {
    RecordStore store;
    for (int slot = 1; slot <= count; ++slot) {
        const QString n = QString::number(slot);
        store.setCell(slot, SerialNumber, "0001A" + n.rightJustified(3, '0'));
        store.setCell(slot, Surname, "Fitzgerald-" + n);
        store.setCell(slot, Address1, "Unit " + n + ", 12 Harbour Street");
        store.setCell(slot, Telephone, "03 9397 " + n);
    }
    return store;
}

} // namespace

class TestPrint : public QObject {
    Q_OBJECT

private slots:
    void pdfHoldsTheList_data() {
        // printer: a QPrinter as the print dialog gives, else QPdfWriter
        // points: the page, landscape
        addColumns<bool, QSize>("printer", "points");
        QTest::newRow("PDF file, A4") << false << QSize(842, 595);
        QTest::newRow("printer, Letter") << true << QSize(792, 612);
    }

    void pdfHoldsTheList() {
        QFETCH(bool, printer);
        skipWithoutPdftotext();
        RecordStore store;
        // Every field is printed.
        const QStringList slotOne = {"0000001A",     "7F3C",         QStringLiteral("M\u00FCller"),
                                     "Josephine",    "Unit 4",       "Level 2",
                                     "Williamstown", "TAS",          "0800",
                                     "03 9397 1234", "0400 111 222", "spare fob",
                                     "gate code 3"};
        for (int column = SerialNumber; column <= OtherDetail2; ++column)
            store.setCell(1, column, slotOne.at(column - 1));
        // Longer than its cell: wrapped, every character still printed.
        const QString longName = "Wolfeschlegelsteinhausenbergerdorff Hubert Blaine";
        store.setCell(2, Surname, longName);
        store.setCell(4095, Mobile, "0412 999 000"); // slots past the receiver's are listed too
        store.setCell(3, AuxiliaryWord, "0A0B");     // holds text, so it has a row: slot 3 alone

        QTemporaryDir dir;
        const QString path = dir.filePath("users.pdf");
        const QString address = "Harbour Towers\r\n1 Beach Road";
        const QDate date(2025, 3, 1);
        if (printer) {
            QPrinter device;
            device.setOutputFileName(path); // a PDF, by its suffix
            device.setPageSize(QPageSize(QPageSize::Letter));
            QCOMPARE(app::printUserList(device, store, address, date), 1);
        } else {
            int pages = 0;
            QCOMPARE(
                app::writeUserListPdf(path, store, address, date, QPageSize(QPageSize::A4), &pages),
                QString());
            QCOMPARE(pages, 1);
        }
        const QRegularExpression mediaBox("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]");
        const auto page = mediaBox.match(QString::fromLatin1(readFile(path)));
        QTEST(QSize(qRound(page.captured(1).toDouble()), qRound(page.captured(2).toDouble())),
              "points");

        const QString text = pdfText(path);
        for (const QString &expected :
             slotOne + QStringList{"Harbour Towers, 1 Beach Road", "Serial", "4095", "0412 999 000",
                                   QLocale().toString(date, QLocale::LongFormat), "Page 1 of 1",
                                   "0A0B"})
            QVERIFY2(text.contains(expected), qPrintable(expected + " not in:\n" + text));
        const QString squeezed = QString(text).remove(QRegularExpression("\\s"));
        QVERIFY2(squeezed.contains(QString(longName).remove(' ')), qPrintable(text));
    }

    // 340 users take about twenty pages, each numbered; a cell prints its first 2,000
    // characters. A file that cannot be written is named.
    void pageCounts() {
        QTemporaryDir dir;
        const QString path = dir.filePath("users.pdf");
        int pages = 0;
        QCOMPARE(app::writeUserListPdf(path, typicalUsers(340), "", QDate(2025, 3, 1),
                                       QPageSize(QPageSize::A4), &pages),
                 QString());
        QVERIFY2(pages >= 16 && pages <= 24, qPrintable(QString::number(pages)));
        const QString missing = dir.filePath("missing/users.pdf");
        const QString error = app::writeUserListPdf(missing, typicalUsers(1), "", QDate());
        QVERIFY2(error.startsWith("Cannot write \"" + missing + "\": "), qPrintable(error));
        skipWithoutPdftotext();
        const QString text = pdfText(path);
        QVERIFY(text.contains(QStringLiteral("Page %1 of %1").arg(pages)));
        QCOMPARE(text.count("Page "), pages);

        // A cell of a million characters prints as its first 2,000 (a page shows fewer).
        RecordStore huge = typicalUsers(1);
        huge.setCell(1, OtherNames, QString(1000000, 'y'));
        QCOMPARE(app::printedCellText(huge, 1, OtherNames), QString(2000, 'y') + u'\u2026');
        QCOMPARE(app::writeUserListPdf(path, huge, "", QDate(2025, 3, 1)), QString());
        QVERIFY(pdfText(path).count('y') > 1000);
    }
};

QTEST_MAIN(TestPrint)
#include "test_print.moc"
