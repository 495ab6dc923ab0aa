// The window's one table of commands. Adding a command: its enum value (commands.h), its
// menu item or button in the form (mainwindow.ui; the toolbar's order is the form's), one row
// here, and its handler.
#include "app/commandtable.h"

#include "app/mainwindow.h"

#include <QString>

namespace app {

std::span<const CommandRow> MainWindow::commandTable() {
    using enum Command;
    using W = MainWindow;
    constexpr DatabaseEffect Keeps = DatabaseEffect::None;
    constexpr DatabaseEffect Changes = DatabaseEffect::Changes;
    constexpr DatabaseEffect Replaces = DatabaseEffect::Replaces;
    static const CommandRow rows[] = {
        {NewDatabase, "mnuNewDatabase", "New", &W::mnuNewDatabase_Click, Replaces},
        {LoadDatabase, "mnuLoadDatabase", "Open", &W::mnuLoadDatabase_Click, Replaces},
        {SaveDatabase, "mnuSaveDatabase", "Save", &W::mnuSaveDatabase_Click, Keeps},
        {SaveDatabaseAs, "mnuSaveDatabaseAs", "Saveas", &W::mnuSaveDatabaseAs_Click, Changes},
        {CloseDatabase, "mnuCloseDatabase", "close1", &W::mnuCloseDatabase_Click, Replaces},
        {SortDatabase, "mnuSortDatabase", "sort", &W::mnuSortDatabase_Click, Changes},
        {MergeDatabase, "mnuMergeDatabase", "Merge3", &W::mnuMergeDatabase_Click, Changes},
        {ReadReceiver, "mnuReadReceiver", "LoadfromRX", &W::mnuReadReceiver_Click, Replaces},
        {ReadTag, "mnuReadTag", "LoadfromTag", &W::mnuReadTag_Click, Replaces},
        {ProgramReceiver, "mnuProgramReceiver", "SavetoRX", &W::mnuProgramReceiver_Click, Keeps},
        {ProgramTag, "mnuProgramTag", "SavetoTag", &W::mnuProgramTag_Click, Keeps},
        {CopyTagToReceiver, "mnuCopyfromTagtoReceiver", "TagtoRX",
         &W::mnuCopyfromTagtoReceiver_Click, Keeps},
        {CopyReceiverToTag, "mnuCopyfromReceivertoTag", "RXtoTag",
         &W::mnuCopyfromReceivertoTag_Click, Keeps},
        {ClearReceiver, "mnuClearReceiver", "ClearRX1", &W::mnuClearReceiver_Click, Keeps},
        {ClearTag, "mnuClearTag", "ClearTag2", &W::mnuClearTag_Click, Keeps},
        {EnableInternalReceiver, "mnuEnableRX", "EnableRX32", &W::mnuEnableRX_Click, Keeps},
        {DisableInternalReceiver, "mnuDisableRX", "DisableRX2", &W::mnuDisableRX_Click, Keeps},
        {FindProgrammer, "mnuFindRemletManager", "FindZEPRO1", &W::mnuFindRemletManager_Click,
         Keeps},
        {About, "mnuAbout", nullptr, &W::mnuAbout_Click, Keeps},
        {Quit, "mnuQuit", nullptr, &W::mnuQuit_Click, Keeps},
        {SortNow, nullptr, nullptr, &W::cmdSortNow_Click, Changes},
        {MergeNow, nullptr, nullptr, &W::cmdMergeDatabase_Click, Changes},
        {BulkValidate, nullptr, nullptr, &W::cmdBulk_Click, Changes},
        {UserList, "mnuUserList", nullptr, &W::mnuUserList_Click, Keeps},
        {Find, "mnuFind", nullptr, &W::mnuFind_Click, Keeps},
        {GoToSlot, "mnuGoToSlot", nullptr, &W::mnuGoToSlot_Click, Keeps},
        {UseCapturedSerial, "mnuUseCapturedSerial", nullptr, &W::mnuUseCapturedSerial_Click, Keeps},
        {EnrolFobs, "mnuEnrolFobs", nullptr, &W::mnuEnrolFobs_Click, Keeps},
        {CompareWithReceiver, "mnuCompareReceiver", nullptr, &W::mnuCompareReceiver_Click, Keeps},
        {CompareWithTag, "mnuCompareTag", nullptr, &W::mnuCompareTag_Click, Keeps},
        {ExportCsv, "mnuExportCsv", nullptr, &W::mnuExportCsv_Click, Keeps},
        {ImportCsv, "mnuImportCsv", nullptr, &W::mnuImportCsv_Click, Replaces},
        {ExportSpreadsheet, "mnuExportSpreadsheet", nullptr, &W::mnuExportSpreadsheet_Click, Keeps},
        {ImportSpreadsheet, "mnuImportSpreadsheet", nullptr, &W::mnuImportSpreadsheet_Click,
         Replaces},
        {PrintUserList, "mnuPrintUserList", nullptr, &W::mnuPrintUserList_Click, Keeps},
        {ExportPdf, "mnuExportPdf", nullptr, &W::mnuExportPdf_Click, Keeps},
        {BulkFill, "mnuBulkFill", nullptr, &W::mnuBulkFill_Click, Keeps},
        {ProgrammerLog, "mnuProgrammerLog", nullptr, &W::mnuProgrammerLog_Click, Keeps},
        {ProgrammerPort, "mnuProgrammerPort", nullptr, &W::mnuProgrammerPort_Click, Keeps},
    };
    return rows;
}

const CommandRow *MainWindow::rowOf(Command command) {
    for (const CommandRow &row : commandTable())
        if (row.command == command)
            return &row;
    return nullptr;
}

Command MainWindow::commandForToolbarKey(const QString &key) {
    if (key.isEmpty())
        return Command::None;
    for (const CommandRow &row : commandTable())
        if (row.toolbarKey && key.compare(QLatin1String(row.toolbarKey), Qt::CaseInsensitive) == 0)
            return row.command;
    return Command::None;
}

} // namespace app
