#include "ui/window_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace ui {

QSize RoomOnScreen(const QWidget& window) {
    const QWidget* anchor = window.parentWidget() ? window.parentWidget()->window() : &window;
    const QScreen* screen = anchor->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    return screen->availableGeometry().size() - kFrameAllowance;
}

QSize FittedSize(QSize wanted, QSize room, QSize minimum) {
    return {std::max(minimum.width(), std::min(wanted.width(), room.width())),
            std::max(minimum.height(), std::min(wanted.height(), room.height()))};
}

void ResizeWithinScreen(QWidget& window, QSize wanted) {
    window.resize(FittedSize(wanted, RoomOnScreen(window), window.minimumSize()));
}

}  // namespace ui
