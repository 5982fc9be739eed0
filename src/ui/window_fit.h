#pragma once
// A window opens at the size its contents like best, but never larger than
// the screen it opens on: on a netbook's 1024 x 600 every window keeps its
// buttons in sight, and the list inside it scrolls instead.
#include <QSize>

class QWidget;

namespace ui {

// What the window manager's frame takes around a window: its title bar
// and borders. The frame is not known before the window is shown.
inline constexpr QSize kFrameAllowance{16, 48};

// The room a window may take on its screen (its parent's, or the primary
// one before it is shown): the available area less the frame.
QSize RoomOnScreen(const QWidget& window);
// `wanted` bounded by `room`, never below the window's own minimum.
QSize FittedSize(QSize wanted, QSize room, QSize minimum);
// Resizes the window to `wanted`, bounded by the room on its screen.
void ResizeWithinScreen(QWidget& window, QSize wanted);

}  // namespace ui
