// Times the printed user list as a PDF file: 340 typical users (a full receiver), 4095
// records with every field at its longest, and one field of a million characters (a cell prints
// its first 2,000). Prints wall and CPU time (the machine may be shared) and the number of pages.
#include "app/print/userlistprint.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <memory>

using namespace userdb;

namespace {

// CPU seconds this process has used, all threads.
double processCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

std::unique_ptr<RecordStore> typicalUsers(int count) {
    auto store = std::make_unique<RecordStore>();
    for (int slot = 1; slot <= count; ++slot) {
        store->setCell(slot, SerialNumber,
                       QStringLiteral("%1").arg(0x1A000 + slot, 8, 16, QLatin1Char('0')));
        store->setCell(slot, Surname, QStringLiteral("Fitzgerald-%1").arg(slot));
        store->setCell(slot, OtherNames, QStringLiteral("Anne Marie"));
        store->setCell(slot, Address1, QStringLiteral("Unit %1, 12 Harbour Street").arg(slot));
        store->setCell(slot, Suburb, QStringLiteral("Williamstown"));
        store->setCell(slot, Telephone, QStringLiteral("03 9397 %1").arg(1000 + slot));
        store->setCell(slot, Mobile, QStringLiteral("0412 345 %1").arg(100 + slot % 900));
    }
    return store;
}

// Every field at the slot editor's longest, in words so that the text wraps.
std::unique_ptr<RecordStore> fullRecords() {
    const int lengths[ColumnCount] = {8, 4, 50, 50, 50, 50, 50, 20, 5, 20, 20, 50, 50};
    auto store = std::make_unique<RecordStore>();
    for (int slot = 1; slot <= SlotCount; ++slot)
        for (int column = 1; column <= ColumnCount; ++column)
            store->setCell(
                slot, column,
                QStringLiteral("Word%1 ").arg(slot).repeated(20).left(lengths[column - 1]));
    return store;
}

void measure(const char *name, const RecordStore &store, const QString &path) {
    const QString address = QStringLiteral("Harbour Towers\r\n1 Beach Road");
    const QDate date(2025, 3, 1);
    QElapsedTimer timer;
    timer.start();
    const double cpuStart = processCpuSeconds();
    int pages = 0;
    const QString error =
        app::writeUserListPdf(path, store, address, date, QPageSize(QPageSize::A4), &pages);
    const double cpuMs = (processCpuSeconds() - cpuStart) * 1000;
    const double wallMs = double(timer.nsecsElapsed()) / 1e6;

    std::printf("%s: %.0f ms (CPU %.0f ms), %d pages, %lld bytes%s\n", name, wallMs, cpuMs, pages,
                QFileInfo(path).size(), error.isEmpty() ? "" : "  FAILED");
    if (!error.isEmpty())
        std::printf("%s\n", qPrintable(error));
}

} // namespace

int main(int argc, char **argv) {
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    std::printf("targets: 340 users on about 20 pages; 4095 full records well under seconds; "
                "a 1,000,000-character field under 2000 ms\n");
    measure("pdf_340_users", *typicalUsers(340), dir.filePath("340.pdf"));
    measure("pdf_4095_full_records", *fullRecords(), dir.filePath("4095.pdf"));
    auto huge = typicalUsers(1);
    huge->setCell(1, OtherNames, QString(1000000, QLatin1Char('y')));
    measure("pdf_1000000_character_field", *huge, dir.filePath("huge.pdf"));
    return 0;
}
