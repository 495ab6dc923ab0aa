#include "app/toolbarlayout.h"

namespace app {

namespace {
constexpr ToolbarPosition separator{"", Command::None};
} // namespace

const std::array<ToolbarPosition, ToolbarPositionCount> &toolbarLayout() {
    static const std::array<ToolbarPosition, ToolbarPositionCount> layout{{
        {"New", Command::NewDatabase},
        {"Open", Command::LoadDatabase},
        {"Save", Command::SaveDatabase},
        {"Saveas", Command::SaveDatabaseAs},
        {"close1", Command::CloseDatabase},
        separator,
        separator,
        {"sort", Command::SortDatabase},
        {"Merge3", Command::MergeDatabase},
        separator,
        separator,
        {"LoadfromRX", Command::ReadReceiver},
        {"LoadfromTag", Command::ReadTag},
        separator,
        {"SavetoRX", Command::ProgramReceiver},
        {"SavetoTag", Command::ProgramTag},
        separator,
        separator,
        {"TagtoRX", Command::CopyTagToReceiver},
        {"RXtoTag", Command::CopyReceiverToTag},
        separator,
        separator,
        {"ClearRX1", Command::ClearReceiver},
        {"ClearTag2", Command::ClearTag},
        separator,
        separator,
        {"EnableRX32", Command::EnableInternalReceiver},
        {"DisableRX2", Command::DisableInternalReceiver},
        separator,
        separator,
        {"FindZEPRO1", Command::FindProgrammer},
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
