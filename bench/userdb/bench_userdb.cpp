// Times the database file, the spreadsheet (CSV and workbook) export and import, merge and sort on
// the largest inputs they can meet and prints each figure beside its target.
#include "userdb/csvexport.h"
#include "userdb/csvimport.h"
#include "userdb/databasefile.h"
#include "userdb/merge.h"
#include "userdb/sort.h"
#include "userdb/xlsxexport.h"
#include "userdb/xlsximport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>

using namespace userdb;

namespace {

// CPU milliseconds this process has used: on a machine shared with other work, wall time
// measures the neighbours too.
double cpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

struct Timing {
    double wallMs = 1e9;
    double cpuMs = 1e9;
};

// Best of a few runs, in milliseconds; `prepare` runs untimed before each.
Timing bestMs(const std::function<void()> &prepare, const std::function<void()> &work) {
    Timing best;
    for (int run = 0; run < 5; ++run) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = cpuMs();
        work();
        best.cpuMs = std::min(best.cpuMs, cpuMs() - cpuStart);
        best.wallMs = std::min(best.wallMs, double(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}

// The target holds for the CPU time; the wall time shows what a busy machine added.
void report(const char *name, Timing timing, int targetMs) {
    std::printf("%s %.1f (wall %.1f; target < %d)%s\n", name, timing.cpuMs, timing.wallMs, targetMs,
                timing.cpuMs < targetMs ? "" : "  MISSED");
}

QString filled(int length, int seed) {
    return QString(length, QChar(u'A' + seed % 26));
}

// Every column at its longest typed length; State, which has no limit, at 20.
void fillLongest(RecordStore &store, int serialOffset) {
    const int lengths[ColumnCount] = {8, 4, 50, 50, 50, 50, 50, 20, 5, 20, 20, 50, 50};
    for (int slot = 1; slot <= SlotCount; ++slot) {
        for (int column = 1; column <= ColumnCount; ++column)
            store.setCell(slot, column, filled(lengths[column - 1], slot + column));
        store.setCell(
            slot, SerialNumber,
            QStringLiteral("%1").arg(slot + serialOffset, 8, 16, QLatin1Char('0')).toUpper());
    }
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath("full.fxd");

    auto full = std::make_unique<RecordStore>();
    fillLongest(*full, 0);
    const QString address = QStringLiteral("Head office\r\n1 Long Road");

    QByteArray bytes;
    const Timing writeMs = bestMs([] {}, [&] { bytes = writeDatabase(address, *full); });
    const Timing saveMs = bestMs([] {},
                                 [&] {
                                     if (!saveDatabaseFile(path, address, *full).isEmpty())
                                         std::printf("save failed\n");
                                 });
    std::unique_ptr<RecordStore> loaded;
    const Timing loadMs = bestMs([&] { loaded = std::make_unique<RecordStore>(); },
                                 [&] {
                                     if (!loadDatabaseFile(path, *loaded).error.isEmpty())
                                         std::printf("load failed\n");
                                 });

    const QString csvPath = dir.filePath("full.csv");
    const Timing exportMs = bestMs([] {},
                                   [&] {
                                       if (!exportCsvFile(csvPath, *full).isEmpty())
                                           std::printf("export failed\n");
                                   });
    const Timing importMs =
        bestMs([] {},
               [&] {
                   const auto result = std::make_unique<SpreadsheetImport>(importCsvFile(csvPath));
                   if (!result->error.isEmpty() || result->userCount != SlotCount)
                       std::printf("import failed\n");
               });

    // Every text different, so that the workbook's table of shared texts is as large as it gets.
    auto distinct = std::make_unique<RecordStore>(*full);
    for (int slot = 1; slot <= SlotCount; ++slot)
        for (int column = Surname; column <= ColumnCount; ++column)
            distinct->setCell(slot, column,
                              (QString::number(slot * 100 + column) + full->cell(slot, column))
                                  .left(full->cell(slot, column).size()));
    const QString xlsxPath = dir.filePath("full.xlsx");
    const Timing xlsxExportMs =
        bestMs([] {},
               [&] {
                   if (const QString error = exportXlsxFile(xlsxPath, address, *distinct);
                       !error.isEmpty())
                       std::printf("workbook export failed: %s\n", qPrintable(error));
               });
    const Timing xlsxImportMs =
        bestMs([] {},
               [&] {
                   const auto result =
                       std::make_unique<SpreadsheetImport>(importXlsxFile(xlsxPath));
                   if (!result->error.isEmpty() || result->userCount != SlotCount ||
                       result->address != address)
                       std::printf("workbook import failed: %s\n", qPrintable(result->error));
               });

    // Half the serials in common: the delete pass frees about 2048 slots and the add pass
    // fills them, each search meeting a full store on the other side.
    auto buffer = std::make_unique<RecordStore>();
    fillLongest(*buffer, SlotCount / 2);
    std::unique_ptr<RecordStore> store;
    const Timing mergeMs = bestMs([&] { store = std::make_unique<RecordStore>(*full); },
                                  [&] {
                                      mergeDatabases(*store, *buffer, MergeOptions{true, true});
                                  });

    const Timing sortMs = bestMs(
        [&] {
            store = std::make_unique<RecordStore>(*full);
            for (int slot = 1; slot <= SortedSlotCount; ++slot)
                store->setCell(slot, Surname, QStringLiteral("name %1").arg(1000 - slot));
        },
        [&] { sortSlots(*store, Surname); });

    report("save_4095_ms", saveMs, 30);
    std::printf("of which encoding (writeDatabase) %.1f ms\n", writeMs.cpuMs);
    report("load_4095_ms", loadMs, 30);
    report("csv_export_4095_ms", exportMs, 100);
    report("csv_import_4095_ms", importMs, 100);
    report("xlsx_export_4095_ms", xlsxExportMs, 200);
    report("xlsx_import_4095_ms", xlsxImportMs, 200);
    report("merge_4095x4095_ms", mergeMs, 50);
    report("sort_340_reverse_ms", sortMs, 20);
    std::printf("file_bytes %lld\n", QFileInfo(path).size());
    std::printf("csv_bytes %lld\n", QFileInfo(csvPath).size());
    std::printf("xlsx_bytes %lld\n", QFileInfo(xlsxPath).size());
    return 0;
}
