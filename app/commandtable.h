#pragma once

#include "app/commands.h"

namespace app {

class MainWindow;

// One command of the window: what starts it and what it does.
struct CommandRow {
    Command command;
    const char *menuName;   // its menu item or menu-bar command; null for a panel's button
    const char *toolbarKey; // the key of the toolbar button that runs it; null when none does
    void (MainWindow::*handler)();
    // It replaces, reorders or renames the open database: refused while a transfer reads or
    // sends the records.
    bool changesDatabase;
};

} // namespace app
