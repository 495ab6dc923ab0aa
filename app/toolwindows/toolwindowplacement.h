#pragma once

#include <QRect>
#include <QSize>

namespace app {

// Where a Tools window (the User List, the Comparison window) opens, as a frame rectangle
// (title bar included) in screen coordinates:
// - beside the main window, on its right or else its left, when the screen's free area
//   `available` has room for a frame of size `wanted` there;
// - else over the main window's right part, reaching to the screen's right edge and no
//   further left than the right edge of `keepVisible` (the editor's fields), narrowed to the
//   room there but never below `minimum`: on a screen too small even for that, the window
//   covers part of `keepVisible` rather than becoming unusable.
// The top follows the main window's; the frame never leaves `available`. An empty
// `keepVisible` asks nothing to be kept in sight.
QRect placeToolWindow(const QRect &available, const QRect &mainFrame, const QRect &keepVisible,
                      const QSize &wanted, const QSize &minimum);

// A remembered frame brought back on the screen: no larger than `available` and moved inside
// it (a screen that is smaller now, a monitor that has gone).
QRect fitIntoScreen(const QRect &remembered, const QRect &available);

} // namespace app
