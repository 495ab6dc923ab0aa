#pragma once

namespace app {

// Every command the window offers, whatever starts it (menu item, toolbar button, picture).
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
    // The Tools menu.
    UserList,
    Find,
    UseCapturedSerial,
    CompareWithReceiver,
    CompareWithTag,
    ExportCsv,
    ImportCsv,
    PrintUserList,
    ExportPdf,
};

} // namespace app
