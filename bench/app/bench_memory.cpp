// Peak memory of the app with a full 4095-record database open, every field at its longest.
#include "benchsupport.h"
#include "userdb/databasefile.h"

#include <QApplication>
#include <QTemporaryDir>

namespace {

userdb::RecordStore fullStore() {
    const int longest[userdb::ColumnCount] = {8, 4, 50, 50, 50, 50, 50, 20, 5, 20, 20, 50, 50};
    userdb::RecordStore store;
    for (int slot = 1; slot <= userdb::SlotCount; ++slot)
        for (int column = 1; column <= userdb::ColumnCount; ++column)
            store.setCell(slot, column,
                          QString(longest[column - 1], QChar(u'A' + (slot + column) % 26)));
    return store;
}

} // namespace

int main(int argc, char *argv[]) {
    qputenv("REMLET_PORTS", "/nonexistent/remlet-bench-port");
    QApplication application(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("full.fxd"));
    if (!userdb::saveDatabaseFile(path, QStringLiteral("Full site"), fullStore()).isEmpty())
        return 1;

    BenchWindow bench;
    app::MainWindow &window = bench.window;
    platform::FakeFileDialog &files = bench.files;
    window.startUp();
    window.show();
    files.queueAnswer(path);
    window.runCommand(app::Command::LoadDatabase);
    QApplication::processEvents();
    if (window.Remlet_Count() != userdb::SlotCount)
        return 1;
    printFigure("peak_memory_full_database_mb", peakResidentMegabytes(), "< 80");
    return 0;
}
