// Times the database file, the spreadsheet export and import, merge and sort on the largest
// inputs they can meet and prints each figure beside its target.
#include "userdb/csvexport.h"
#include "userdb/csvimport.h"
#include "userdb/databasefile.h"
#include "userdb/merge.h"
#include "userdb/sort.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

using namespace userdb;

namespace {

// Best of a few runs, in milliseconds; `prepare` runs untimed before each.
double bestMs(const std::function<void()> &prepare, const std::function<void()> &work) {
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}

void report(const char *name, double ms, int targetMs) {
    std::printf("%s %.1f (target < %d)%s\n", name, ms, targetMs, ms < targetMs ? "" : "  MISSED");
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
    const double writeMs = bestMs([] {}, [&] { bytes = writeDatabase(address, *full); });
    const double saveMs = bestMs([] {},
                                 [&] {
                                     if (!saveDatabaseFile(path, address, *full).isEmpty())
                                         std::printf("save failed\n");
                                 });
    std::unique_ptr<RecordStore> loaded;
    const double loadMs = bestMs([&] { loaded = std::make_unique<RecordStore>(); },
                                 [&] {
                                     if (!loadDatabaseFile(path, *loaded).error.isEmpty())
                                         std::printf("load failed\n");
                                 });

    const QString csvPath = dir.filePath("full.csv");
    const double exportMs = bestMs([] {},
                                   [&] {
                                       if (!exportCsvFile(csvPath, *full).isEmpty())
                                           std::printf("export failed\n");
                                   });
    const double importMs = bestMs([&] { loaded = std::make_unique<RecordStore>(); },
                                   [&] {
                                       const CsvImportResult result =
                                           importCsvFile(csvPath, *loaded);
                                       if (!result.error.isEmpty() || result.userCount != SlotCount)
                                           std::printf("import failed\n");
                                   });

    // Half the serials in common: the delete pass frees about 2048 slots and the add pass
    // fills them, each search meeting a full store on the other side.
    auto buffer = std::make_unique<RecordStore>();
    fillLongest(*buffer, SlotCount / 2);
    std::unique_ptr<RecordStore> store;
    const double mergeMs = bestMs([&] { store = std::make_unique<RecordStore>(*full); },
                                  [&] {
                                      mergeDatabases(*store, *buffer, MergeOptions{true, true});
                                  });

    const double sortMs = bestMs(
        [&] {
            store = std::make_unique<RecordStore>(*full);
            for (int slot = 1; slot <= SortedSlotCount; ++slot)
                store->setCell(slot, Surname, QStringLiteral("name %1").arg(1000 - slot));
        },
        [&] { sortSlots(*store, Surname); });

    report("save_4095_ms", saveMs, 30);
    std::printf("of which encoding (writeDatabase) %.1f ms\n", writeMs);
    report("load_4095_ms", loadMs, 30);
    report("csv_export_4095_ms", exportMs, 100);
    report("csv_import_4095_ms", importMs, 100);
    report("merge_4095x4095_ms", mergeMs, 50);
    report("sort_340_reverse_ms", sortMs, 20);
    std::printf("file_bytes %lld\n", QFileInfo(path).size());
    std::printf("csv_bytes %lld\n", QFileInfo(csvPath).size());
    return 0;
}
