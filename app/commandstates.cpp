#include "app/commandstates.h"

#include <vector>

namespace app {

namespace {

struct Step {
    enum Kind { Toolbar, Menu, Frame, Title };
    Kind kind;
    bool show;
    int first = 0; // toolbar positions first..last
    int last = 0;
    const char *name = "";
    bool onlyWithDatabase = false; // applied only while "Save Database" is visible
};

Step toolbar(bool show, int first, int last, bool onlyWithDatabase = false) {
    return {Step::Toolbar, show, first, last, "", onlyWithDatabase};
}
Step menu(bool show, const char *name, bool onlyWithDatabase = false) {
    return {Step::Menu, show, 0, 0, name, onlyWithDatabase};
}
Step frame(bool show, const char *name) {
    return {Step::Frame, show, 0, 0, name};
}
Step title() {
    return {Step::Title, true};
}

constexpr bool Show = true;
constexpr bool Hide = false;
constexpr bool WithDatabase = true;

const std::vector<Step> &stepsOf(CommandEvent event) {
    static const std::vector<Step> startUp{
        toolbar(Hide, 3, 30),
        menu(Hide, "mnuSaveDatabase"),
        menu(Hide, "mnuSaveDatabaseAs"),
        menu(Hide, "mnuCloseDatabase"),
        menu(Hide, "mnuSortDatabase"),
        menu(Hide, "mnuMergeDatabase"),
        menu(Hide, "mnuRead"),
        menu(Hide, "mnuProgram"),
        menu(Hide, "mnuCopy"),
        menu(Hide, "mnuClear"),
        menu(Hide, "mnuRX"),
    };
    static const std::vector<Step> programmerFound{
        toolbar(Show, 12, 13), toolbar(Show, 19, 30),  menu(Show, "mnuRead"),
        menu(Show, "mnuCopy"), menu(Show, "mnuClear"), menu(Show, "mnuRX"),
    };
    static const std::vector<Step> programmerNotFound{
        toolbar(Hide, 12, 16),    toolbar(Hide, 19, 28), menu(Hide, "mnuRead"),
        menu(Hide, "mnuProgram"), menu(Hide, "mnuCopy"), menu(Hide, "mnuClear"),
        menu(Hide, "mnuRX"),
    };
    static const std::vector<Step> databaseOpened{
        toolbar(Show, 3, 9),
        toolbar(Show, 15, 16),
        frame(Show, "fraTXUsers"),
        menu(Show, "mnuSortDatabase"),
        menu(Show, "mnuMergeDatabase"),
        menu(Show, "mnuProgram"),
        menu(Show, "mnuSaveDatabase"),
        menu(Show, "mnuSaveDatabaseAs"),
        menu(Show, "mnuCloseDatabase"),
    };
    static const std::vector<Step> databaseClosed{
        toolbar(Hide, 3, 9),
        toolbar(Hide, 15, 16),
        title(),
        frame(Hide, "fraTXUsers"),
        menu(Hide, "mnuSaveDatabase"),
        menu(Hide, "mnuSaveDatabaseAs"),
        menu(Hide, "mnuCloseDatabase"),
        menu(Hide, "mnuSortDatabase"),
        menu(Hide, "mnuMergeDatabase"),
        menu(Hide, "mnuProgram"),
    };
    static const std::vector<Step> captureEntered{
        toolbar(Hide, 9, 27),     menu(Hide, "mnuMergeDatabase"), menu(Hide, "mnuRead"),
        menu(Hide, "mnuProgram"), menu(Hide, "mnuCopy"),          menu(Hide, "mnuClear"),
    };
    static const std::vector<Step> captureLeft{
        toolbar(Show, 12, 13),
        toolbar(Show, 19, 27),
        toolbar(Show, 15, 16, WithDatabase),
        toolbar(Show, 9, 9, WithDatabase),
        menu(Show, "mnuRead"),
        menu(Show, "mnuCopy"),
        menu(Show, "mnuClear"),
        menu(Show, "mnuProgram", WithDatabase),
        menu(Show, "mnuMergeDatabase", WithDatabase),
    };
    switch (event) {
    case CommandEvent::StartUp:
        return startUp;
    case CommandEvent::ProgrammerFound:
        return programmerFound;
    case CommandEvent::ProgrammerNotFound:
        return programmerNotFound;
    case CommandEvent::DatabaseOpened:
        return databaseOpened;
    case CommandEvent::DatabaseClosed:
        return databaseClosed;
    case CommandEvent::CaptureEntered:
        return captureEntered;
    case CommandEvent::CaptureLeft:
        return captureLeft;
    }
    return startUp;
}

} // namespace

void applyCommandEvent(CommandEvent event, CommandSurface &surface) {
    // The condition is read once, before the event changes anything.
    const bool databaseOpen = surface.isMenuVisible(QStringLiteral("mnuSaveDatabase"));
    for (const Step &step : stepsOf(event)) {
        if (step.onlyWithDatabase && !databaseOpen)
            continue;
        switch (step.kind) {
        case Step::Toolbar:
            for (int position = step.first; position <= step.last; ++position)
                surface.setToolbarPositionVisible(position, step.show);
            break;
        case Step::Menu:
            surface.setMenuVisible(QLatin1String(step.name), step.show);
            break;
        case Step::Frame:
            surface.setFrameVisible(QLatin1String(step.name), step.show);
            break;
        case Step::Title:
            surface.resetTitle();
            break;
        }
    }
}

} // namespace app
