#include "ui/input_refusal.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace ui {

bool IsUserInput(int eventType) {
    switch (static_cast<QEvent::Type>(eventType)) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::ContextMenu: return true;
    default: return false;
    }
}

InputRefusal::InputRefusal() : modalBefore_(QApplication::activeModalWidget()) {
    QCoreApplication::instance()->installEventFilter(this);
}

InputRefusal::~InputRefusal() {
    // Input held back while the work ran arrives now and meets the filter.
    QCoreApplication::processEvents();
    QCoreApplication::instance()->removeEventFilter(this);
}

namespace {

// Input reaches a window first, then its widgets: both name where it goes.
QWidget* TargetWidget(QObject* watched) {
    if (auto* widget = qobject_cast<QWidget*>(watched)) return widget;
    if (auto* window = qobject_cast<QWindow*>(watched))
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->windowHandle() == window) return top;
    return nullptr;
}

}  // namespace

bool InputRefusal::eventFilter(QObject* watched, QEvent* event) {
    if (!IsUserInput(event->type())) return false;
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == modalBefore_) return true;
    QWidget* target = TargetWidget(watched);
    return !(target && (target == modal || modal->isAncestorOf(target)));
}

}  // namespace ui
