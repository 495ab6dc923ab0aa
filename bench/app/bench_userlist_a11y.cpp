// Times the open user list following the big changes of the database while a screen reader
// may be listening: a merge of 4095 records into 4095, a bulk fill of 340 slots and a Load of
// 4095 records, each announced as one reset of the list; and, for comparison, 512 serials
// typed in turn into free slots, each a row of its own. Each twice: as the table is at first,
// and after a screen reader has enumerated its cells ("_walked"), which makes the table's
// accessible interface keep one interface per cell (4096 x 15) and rework that whole cache
// on every row inserted or removed.
//
// For each: the wall time until the table has painted (the main thread's share), the CPU time
// of the whole process over that, and the time until the process has gone quiet (no thread,
// the accessibility bridge's D-Bus thread included, using more than a little CPU for 200 ms),
// with that thread's CPU apart. Target: settled in under 1000 ms.
//
// Run it with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 on a desktop platform (xcb: under Xvfb, with a
// session bus and the AT-SPI registry and a listener for a real screen reader's load, see
// bench/app/run_userlist_a11y); it runs without them too, and says whether the accessibility
// bridge was on. The offscreen platform has no bridge.
#include "app/userlist/userlistwindow.h"
#include "userdb/bulkfill.h"
#include "userdb/merge.h"
#include "userdb/opendatabase.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

using namespace userdb;

namespace {

constexpr int Runs = 3;

double processCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// CPU milliseconds of this process's threads whose name starts with `prefix` (the Qt D-Bus
// connection thread is "QDBusConnection").
double threadCpuMs(const char *prefix) {
    double total = 0;
    const long ticks = sysconf(_SC_CLK_TCK);
    for (const QString &task :
         QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(QStringLiteral("/proc/self/task/%1/comm").arg(task));
        if (!comm.open(QIODevice::ReadOnly) || !comm.readAll().startsWith(prefix))
            continue;
        QFile stat(QStringLiteral("/proc/self/task/%1/stat").arg(task));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // Fields after the command name, which is in parentheses: utime and stime are the
        // 12th and 13th of them.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 12)
            total += (fields.at(11).toDouble() + fields.at(12).toDouble()) * 1000.0 / double(ticks);
    }
    return total;
}

// Every field filled, a serial of its own in every slot; `base` keeps two stores apart.
RecordStore fullRecords(int base) {
    RecordStore store;
    for (int slot = 1; slot <= SlotCount; ++slot) {
        for (int column = 3; column <= ColumnCount; ++column)
            store.setCell(slot, column, QStringLiteral("Word%1 %2").arg(slot).arg(column));
        store.setCell(slot, SerialNumber, QString::number(base + slot, 16).toUpper());
    }
    return store;
}

// What a screen reader's client does when it enumerates the table (a review of the rows, a
// client-side cache of children): every cell's accessible interface is made and kept by the
// table's accessible interface.
void walkTable(QTableView &table) {
    if (!QAccessible::isActive())
        return;
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&table);
    const int count = iface->childCount();
    for (int i = 0; i < count; ++i)
        QAccessible::uniqueId(iface->child(i));
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Lets events run for `ms`, without spinning.
void runEvents(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Figures {
    double paintedMs = 0;
    double cpuMs = 0;
    double settledMs = 0;
    double dbusThreadMs = 0;
};

// Runs `change`, then events until the table has painted; then until the process is quiet.
Figures follow(QTableView &table, const std::function<void()> &change) {
    bool painted = false;
    struct PaintFlag : QObject {
        bool *flag;
        explicit PaintFlag(bool *f)
            : flag(f) {}
        bool eventFilter(QObject *, QEvent *event) override {
            if (event->type() == QEvent::Paint)
                *flag = true;
            return false;
        }
    } watch(&painted);
    table.viewport()->installEventFilter(&watch);
    QElapsedTimer timer;
    timer.start();
    const double cpuStart = processCpuMs();
    const double dbusStart = threadCpuMs("QDBus");
    change();
    while (!painted && timer.elapsed() < 120000)
        runEvents(1);
    Figures figures;
    figures.paintedMs = double(timer.nsecsElapsed()) / 1e6;
    figures.cpuMs = processCpuMs() - cpuStart;
    table.viewport()->removeEventFilter(&watch);
    // Quiet: under 10 ms of CPU over 200 ms.
    double last = processCpuMs();
    double quietSince = double(timer.nsecsElapsed()) / 1e6;
    while (timer.elapsed() < 300000) {
        runEvents(50);
        const double now = processCpuMs();
        const double at = double(timer.nsecsElapsed()) / 1e6;
        if (now - last > 10) {
            last = now;
            quietSince = at;
        } else if (at - quietSince >= 200) {
            break;
        }
    }
    figures.settledMs = quietSince;
    figures.dbusThreadMs = threadCpuMs("QDBus") - dbusStart;
    return figures;
}

void measure(const char *name, QTableView &table, const std::function<void()> &prepare,
             const std::function<void()> &change, int runs = Runs) {
    std::vector<double> painted, cpu, settled, dbus;
    for (int run = 0; run < runs; ++run) {
        prepare();
        runEvents(300);
        const Figures f = follow(table, change);
        painted.push_back(f.paintedMs);
        cpu.push_back(f.cpuMs);
        settled.push_back(f.settledMs);
        dbus.push_back(f.dbusThreadMs);
    }
    std::printf("%-28s painted %9.1f ms  CPU %9.1f ms  settled %9.1f ms  D-Bus thread %8.1f ms"
                "  (target: settled < 1000)\n",
                name, median(painted), median(cpu), median(settled), median(dbus));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    OpenDatabase database;
    const RecordStore first = fullRecords(0x1A2B0000);
    const RecordStore second = fullRecords(0x5C6D0000);
    database.replaceRecords(first);

    app::UserListWindow list(database);
    list.resize(1300, 650);
    list.open();
    auto *table = list.findChild<QTableView *>();
    table->setFocus();
    runEvents(1000);
    std::printf("platform %s, accessibility %s\n", qPrintable(QApplication::platformName()),
                QAccessible::isActive() ? "on" : "off (no bridge: figures without it)");
    std::fflush(stdout);

    for (const bool walked : {false, true}) {
        if (walked && !QAccessible::isActive())
            break;
        const auto name = [&](const char *scenario) {
            static QByteArray text;
            text = QByteArray(scenario) + (walked ? "_walked" : "");
            return text.constData();
        };
        const auto prepared = [&](const RecordStore &store) {
            return [&, walked] {
                database.replaceRecords(store);
                if (walked)
                    walkTable(*table);
            };
        };
        measure(name("merge_4095_into_4095"), *table, prepared(first), [&] {
            database.changeRecords([&](RecordStore &store) {
                mergeDatabases(store, second, {.deleteMissing = true, .addExtra = true});
            });
        });
        measure(name("bulk_fill_340"), *table, prepared(first), [&] {
            database.changeRecords([](RecordStore &store) {
                bulkFill(store, QStringLiteral("00C0FFEE"), QStringLiteral("340"));
            });
        });
        measure(name("load_4095"), *table, prepared(first),
                [&] { database.replaceRecords(second); });
        // What a row signal per slot costs: 512 serials typed in turn into free slots, each
        // a new row (slow enough with a walked table for one run to tell).
        constexpr int Typed = 512;
        RecordStore typedInto = first;
        for (int slot = SlotCount - Typed + 1; slot <= SlotCount; ++slot)
            typedInto.setRecord(slot, {});
        measure(
            name("512_rows_one_at_a_time"), *table, prepared(typedInto),
            [&] {
                for (int slot = SlotCount - Typed + 1; slot <= SlotCount; ++slot)
                    database.setCell(slot, SerialNumber, second.cell(slot, SerialNumber));
            },
            walked ? 1 : Runs);
    }
    return 0;
}
