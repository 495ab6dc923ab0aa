// Times the user list over 4095 records with every field at its longest: opening the window
// (model, filter and table shown and painted), filtering as the user types, a keystroke in the
// slot editor with the list open, and a whole new set of records. Each figure is the median of
// a few runs, wall and CPU time in milliseconds (the machine may be shared); for the
// keystrokes, also how many rows the model reported changed.
#include "app/userlist/userlistfilter.h"
#include "app/userlist/userlistwindow.h"
#include "userdb/opendatabase.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

using namespace userdb;

namespace {

constexpr int Runs = 7;

double processCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Every field at the slot editor's longest, in words; a serial of its own in every slot.
RecordStore fullRecords() {
    const int lengths[ColumnCount] = {8, 4, 50, 50, 50, 50, 50, 20, 5, 20, 20, 50, 50};
    RecordStore store;
    for (int slot = 1; slot <= SlotCount; ++slot) {
        for (int column = 2; column <= ColumnCount; ++column)
            store.setCell(
                slot, column,
                QStringLiteral("Word%1 ").arg(slot).repeated(20).left(lengths[column - 1]));
        store.setCell(slot, SerialNumber, QString::number(0x1A2B0000 + slot, 16).toUpper());
    }
    return store;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Notes when the table paints: the window paints at its next frame, not at once.
class PaintWatch : public QObject {
public:
    void watch(QTableView &table) { table.viewport()->installEventFilter(this); }
    // Lets events run, without spinning, until the table has painted or `limitMs` has passed.
    void waitForPaint(int limitMs) {
        QEventLoop loop;
        m_loop = &loop;
        QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
        loop.exec();
        m_loop = nullptr;
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint && m_loop)
            QTimer::singleShot(0, m_loop, &QEventLoop::quit); // once the paint is done
        return false;
    }

private:
    QEventLoop *m_loop = nullptr;
};

PaintWatch paints;

enum class Until { Painted, EventsDone };

// Runs `prepare` (untimed) then `step`, timed until the table has painted (or, for a change
// that may be off screen, until the events it posted have run), `Runs` times, and prints the
// medians. CPU time leaves out the wait for the next frame; wall time does not.
void measure(const char *name, const std::function<void()> &prepare,
             const std::function<void()> &step, Until until, const char *target) {
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int run = 0; run < Runs; ++run) {
        prepare();
        paints.waitForPaint(100);
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = processCpuSeconds();
        step();
        if (until == Until::Painted)
            paints.waitForPaint(1000);
        else
            QApplication::processEvents();
        cpu.push_back((processCpuSeconds() - cpuStart) * 1000);
        wall.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("%-34s %8.3f ms  (CPU %.3f ms; target %s)\n", name, median(wall), median(cpu),
                target);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    OpenDatabase database;
    database.replaceRecords(fullRecords());
    const RecordStore replacement = fullRecords();
    {
        // The main window is on screen when the list opens: fonts and style are loaded.
        QTableView warmUp;
        warmUp.show();
        paints.watch(warmUp);
        paints.waitForPaint(1000);
    }

    std::unique_ptr<app::UserListWindow> list;
    measure(
        "open_list_4095_full", [&] { list.reset(); },
        [&] {
            list = std::make_unique<app::UserListWindow>(database);
            paints.watch(*list->findChild<QTableView *>());
            list->resize(1300, 650);
            list->open();
        },
        Until::Painted, "< 50");

    auto *find = list->findChild<QLineEdit *>("findEdit");
    auto *duplicatesOnly = list->findChild<QCheckBox *>("duplicatesOnlyBox");
    const auto findText = [&](const char *text) { return [=] { find->setText(text); }; };
    const auto duplicates = [&](bool on) { return [=] { duplicatesOnly->setChecked(on); }; };
    measure("filter_first_key_9", findText(""), findText("9"), Until::Painted, "< 50");
    measure("filter_serial_1A2B0FFF", findText(""), findText("1A2B0FFF"), Until::Painted, "< 50");
    measure("filter_no_match", findText(""), findText("Zhang"), Until::Painted, "< 50");
    measure("filter_cleared", findText("Zhang"), findText(""), Until::Painted, "< 50");
    measure("duplicates_only_on", duplicates(false), duplicates(true), Until::Painted, "< 50");
    measure("duplicates_only_off", duplicates(true), duplicates(false), Until::Painted, "< 50");
    measure(
        "header_click_surname", [&] { list->filter().sort(0); },
        [&] { list->filter().sort(Surname); }, Until::Painted, "< 50");

    // Keystrokes in the slot editor, in a slot that may be off screen.
    int rowsChanged = 0;
    const QAbstractItemModel *model = list->filter().sourceModel();
    QObject::connect(model, &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex &first, const QModelIndex &last) {
                         rowsChanged += last.row() - first.row() + 1;
                     });
    const auto countRows = [&](const QModelIndex &, int first, int last) {
        rowsChanged += last - first + 1;
    };
    QObject::connect(model, &QAbstractItemModel::rowsInserted, countRows);
    QObject::connect(model, &QAbstractItemModel::rowsRemoved, countRows);
    QObject::connect(model, &QAbstractItemModel::modelReset,
                     [&] { rowsChanged += model->rowCount(); });
    const QString surname = database.cell(2000, Surname).left(49);
    measure(
        "keystroke_surname_slot_2000",
        [&] {
            database.setCell(2000, Surname, surname);
            rowsChanged = 0;
        },
        [&] { database.setCell(2000, Surname, surname + "x"); }, Until::EventsDone, "one row");
    std::printf("%-34s %8d rows\n", "keystroke_rows_reported_changed", rowsChanged);
    const QString serial = database.cell(2000, SerialNumber);
    measure(
        "keystroke_serial_makes_duplicate",
        [&] {
            database.setCell(2000, SerialNumber, serial);
            rowsChanged = 0;
        },
        [&] { database.setCell(2000, SerialNumber, database.cell(1, SerialNumber)); },
        Until::EventsDone, "two rows");
    std::printf("%-34s %8d rows\n", "serial_rows_reported_changed", rowsChanged);

    measure(
        "records_replaced_list_open", [] {}, [&] { database.replaceRecords(replacement); },
        Until::Painted, "< 50");
    return 0;
}
