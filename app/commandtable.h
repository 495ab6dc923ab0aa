#pragma once

#include "app/commands.h"

namespace app {

class MainWindow;

// What a command does to the open database.
enum class DatabaseEffect {
    None,     // it leaves it as it is
    Changes,  // it reorders or renames it: refused while a transfer reads or sends the records
    Replaces, // it replaces or closes it: as Changes, and unsaved changes are asked about first
};

// One command of the window: what starts it and what it does.
struct CommandRow {
    Command command;
    const char *menuName;   // its menu item or menu-bar command; null for a panel's button
    const char *toolbarKey; // the key of the toolbar button that runs it; null when none does
    void (MainWindow::*handler)();
    DatabaseEffect effect;
};

} // namespace app
