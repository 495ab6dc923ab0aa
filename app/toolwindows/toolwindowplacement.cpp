#include "app/toolwindows/toolwindowplacement.h"

#include <algorithm>

namespace app {

namespace {

// `start` moved so that `length` from it stays within first..last (the start wins when the
// length is larger).
int clampStart(int start, int length, int first, int last) {
    return std::max(first, std::min(start, last - length + 1));
}

} // namespace

QRect fitIntoScreen(const QRect &remembered, const QRect &available) {
    const QSize size = remembered.size().boundedTo(available.size());
    return {clampStart(remembered.left(), size.width(), available.left(), available.right()),
            clampStart(remembered.top(), size.height(), available.top(), available.bottom()),
            size.width(), size.height()};
}

QRect placeToolWindow(const QRect &available, const QRect &mainFrame, const QRect &keepVisible,
                      const QSize &wanted, const QSize &minimum) {
    const QSize size = wanted.boundedTo(available.size());
    const int top = clampStart(mainFrame.top(), size.height(), available.top(), available.bottom());
    if (available.right() - mainFrame.right() >= size.width())
        return {mainFrame.right() + 1, top, size.width(), size.height()};
    if (mainFrame.left() - available.left() >= size.width())
        return {mainFrame.left() - size.width(), top, size.width(), size.height()};

    // Over the main window: from the screen's right edge leftwards, up to the fields.
    const int room = keepVisible.isEmpty() ? size.width() : available.right() - keepVisible.right();
    const int width =
        std::min(available.width(), std::max(std::min(size.width(), room), minimum.width()));
    return {available.right() - width + 1, top, width, size.height()};
}

} // namespace app
