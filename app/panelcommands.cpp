// The panels: Sort, Merge and the bulk serial fill.
#include "app/mainwindow.h"
#include "app/toolwindows/livelabel.h"
#include "ui_mainwindow.h"
#include "userdb/bulkfill.h"
#include "userdb/databasefile.h"
#include "userdb/merge.h"
#include "userdb/sort.h"

#include <QScrollBar>

namespace app {

void MainWindow::mnuSortDatabase_Click() {
    revealPanel(ui->fraSort);
}

void MainWindow::imgSortExit_Click() {
    ui->fraSort->hide();
}

void MainWindow::mnuMergeDatabase_Click() {
    revealPanel(ui->fraMergeDatabase);
}

void MainWindow::MergeExitImage_Click() {
    ui->fraMergeDatabase->hide();
}

// ---- sorting ----

void MainWindow::BubbleSort() {
    // The sort runs to its end without yielding, so no command can change slots 1 to 340
    // between reading them and writing the new order back.
    ui->fraTXUsers->setEnabled(false);
    ui->fraSort->setEnabled(false);
    ui->prbDownload->setRange(1, userdb::SortedSlotCount);
    ui->prbDownload->show();
    const int column = ui->fraSort->selectedColumn();
    m_database.changeRecords(
        [column](userdb::RecordStore &store) { userdb::sortSlots(store, column); });
    ui->prbDownload->setValue(userdb::SortedSlotCount);
    ui->prbDownload->hide();
    ui->fraTXUsers->setEnabled(true);
    ui->fraSort->setEnabled(true);
}

void MainWindow::cmdSortNow_Click() {
    BubbleSort();
    showSlotOne();
    ui->fraSort->hide();
}

// ---- merging ----

void MainWindow::cmdMergeDatabase_Click() {
    if (m_services.fileDialog.showOpen()) {
        const QString chosen = m_services.fileDialog.fileName();
        auto fresh = std::make_unique<userdb::RecordStore>();
        const userdb::LoadResult result = userdb::loadDatabaseFile(chosen, *fresh);
        if (!result.error.isEmpty()) {
            // Nothing changes: not the open database, its file name nor the last count.
            reportFailure(result.error);
        } else {
            // From now on the merged file is the current database file, and the title says so:
            // nobody should overwrite a file without seeing its name.
            m_databaseFilename = chosen;
            m_hasFile = true;
            setDatabaseTitle(chosen);
            m_mergeBuffer = std::move(*fresh);
            setLiveText(*mergedCountLabel(), QString::number(Temp_Remlet_Count()));
            const userdb::MergeOptions options = ui->fraMergeDatabase->options();
            m_database.changeRecords([this, options](userdb::RecordStore &store) {
                userdb::mergeDatabases(store, m_mergeBuffer, options);
            });
            setSlotSelector(1);
            ShowSlot();
            warnAboutUnstorableText();
        }
    }
    ui->fraMergeDatabase->hide();
}

// ---- bulk fill ----

void MainWindow::mnuBulkFill_Click() {
    // The panel lies beyond the main column: the window widens by what it needs to show it,
    // moving left where the screen would cut it off, and never wider than the screen.
    const int wanted =
        ui->mainColumnArea->width() + BulkFrameGap + ui->fraBulk->sizeHint().width() + BulkFrameGap;
    if (wanted > centralWidget()->width())
        resizeWithinScreen(QSize(width() + wanted - centralWidget()->width(), height()));
    placeBulkFrame();
    ui->fraBulk->focusFirstField();
}

void MainWindow::cmdBulk_Click() {
    userdb::BulkFillResult result;
    m_database.changeRecords([&](userdb::RecordStore &store) {
        result = userdb::bulkFill(store, ui->fraBulk->startSerial(), ui->fraBulk->count(),
                                  ui->fraTXUsers->slotSelector()->maximum());
    });
    if (!result.error.isEmpty()) {
        reportFailure(result.error);
        return;
    }
    if (!result.changed)
        return;
    setSlotSelector(result.lastSlot);
    ShowSlot();
}

} // namespace app
