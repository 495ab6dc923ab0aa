#pragma once

namespace app {

// Every command the window offers, whatever starts it (menu item, toolbar button, a panel's
// button or picture). The window's command table (commandtable.cpp) says what starts each.
enum class Command {
    None,
    NewDatabase,
    LoadDatabase,
    SaveDatabase,
    SaveDatabaseAs,
    CloseDatabase,
    SortDatabase,
    MergeDatabase,
    ReadReceiver,
    ReadTag,
    ProgramReceiver,
    ProgramTag,
    CopyTagToReceiver,
    CopyReceiverToTag,
    ClearReceiver,
    ClearTag,
    EnableInternalReceiver,
    DisableInternalReceiver,
    FindProgrammer,
    About,
    Quit,
    // The panels' buttons.
    SortNow,
    MergeNow,
    BulkValidate,
    // The Tools menu.
    UserList,
    Find,
    GoToSlot,
    UseCapturedSerial,
    EnrolFobs,
    CompareWithReceiver,
    CompareWithTag,
    ExportCsv,
    ImportCsv,
    ExportSpreadsheet,
    ImportSpreadsheet,
    PrintUserList,
    ExportPdf,
    BulkFill,
    ProgrammerLog,
    ProgrammerPort,
};

} // namespace app
