#pragma once

#include <QString>

namespace app {

// The events that change which commands the window offers.
enum class CommandEvent {
    StartUp,
    ProgrammerFound,
    ProgrammerNotFound,
    DatabaseOpened,
    DatabaseClosed,
    CaptureEntered,
    CaptureLeft,
};

// What the state table acts on: toolbar positions, menus (by control name), frames, title.
class CommandSurface {
public:
    virtual ~CommandSurface() = default;
    virtual void setToolbarPositionVisible(int position, bool visible) = 0;
    virtual void setMenuVisible(const QString &name, bool visible) = 0;
    virtual bool isMenuVisible(const QString &name) const = 0;
    virtual void setFrameVisible(const QString &name, bool visible) = 0;
    virtual void resetTitle() = 0;
};

// Applies the fixed set of shows and hides of one event, in the table's order. The window
// keeps no state variable of its own: what is visible is the result of the events so far,
// and a visible "Save Database" menu item is the one test for an open database.
void applyCommandEvent(CommandEvent event, CommandSurface &surface);

} // namespace app
