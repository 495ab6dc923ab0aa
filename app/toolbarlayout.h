#pragma once

#include "app/commands.h"

#include <QString>
#include <array>

namespace app {

// One position of the toolbar; a separator has an empty key. The form holds each button's
// image and tool tip; this table holds what a key runs.
struct ToolbarPosition {
    const char *key;
    Command command;

    bool isSeparator() const { return key[0] == '\0'; }
};

constexpr int ToolbarPositionCount = 31;

// The toolbar from position 1 to 31; visibility is always set by position number, so the
// separators are part of the layout.
const std::array<ToolbarPosition, ToolbarPositionCount> &toolbarLayout();

// The command of the first button whose key equals `key`, ignoring case; None for a
// separator or an unknown key.
Command commandForToolbarKey(const QString &key);

} // namespace app
