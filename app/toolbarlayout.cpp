#include "app/toolbarlayout.h"

namespace app {

namespace {
constexpr ToolbarPosition separator{"", "", "", Command::None};
} // namespace

const std::array<ToolbarPosition, ToolbarPositionCount> &toolbarLayout() {
    static const std::array<ToolbarPosition, ToolbarPositionCount> layout{{
        {"New", "New", "New Database", Command::NewDatabase},
        {"Open", "Open", "Open Database", Command::LoadDatabase},
        {"Save", "Save", "Save Database", Command::SaveDatabase},
        {"Saveas", "Saveas", "Save Database As...", Command::SaveDatabaseAs},
        {"close1", "close1", "Close Database", Command::CloseDatabase},
        separator,
        separator,
        {"sort", "sort", "Sort Database Entries by...", Command::SortDatabase},
        {"Merge3", "Merge3", "Merge Database", Command::MergeDatabase},
        separator,
        separator,
        {"LoadfromRX", "LoadfromRX", "Load from RX to PC", Command::ReadReceiver},
        {"LoadfromTag", "LoadfromTag", "Load from Tag to PC", Command::ReadTag},
        separator,
        {"SavetoRX", "SavetoRX", "Save from PC to RX", Command::ProgramReceiver},
        {"SavetoTag", "SavetoTag", "Save from PC to Tag", Command::ProgramTag},
        separator,
        separator,
        {"TagtoRX", "TagtoRX", "Copy from Tag to RX", Command::CopyTagToReceiver},
        {"RXtoTag", "RXtoTag", "Copy from RX to Tag", Command::CopyReceiverToTag},
        separator,
        separator,
        {"ClearRX1", "ClearRX1", "Clear RX memory", Command::ClearReceiver},
        {"ClearTag2", "ClearTag2", "Clear Tag memory", Command::ClearTag},
        separator,
        separator,
        {"EnableRX32", "EnableRX41", "Enable Remlet Manager Receiver",
         Command::EnableInternalReceiver},
        {"DisableRX2", "DisableRX3", "Disable Remlet Manager Receiver",
         Command::DisableInternalReceiver},
        separator,
        separator,
        {"FindZEPRO1", "FindZEPRO1", "Find Remlet Manager", Command::FindProgrammer},
    }};
    return layout;
}

Command commandForToolbarKey(const QString &key) {
    if (key.isEmpty())
        return Command::None;
    for (const ToolbarPosition &position : toolbarLayout())
        if (!position.isSeparator() &&
            key.compare(QLatin1String(position.key), Qt::CaseInsensitive) == 0)
            return position.command;
    return Command::None;
}

} // namespace app
