#include "ui/input_refusal.h"

#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
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

constexpr char kTakesInputWhileBusy[] = "qrnTakesInputWhileBusy";

// The control the input is meant for: a window's mouse event goes to the
// widget under the pointer, its key events to the focused one.
QWidget* InputReceiver(QObject* watched, QWidget* target, QEvent* event) {
    if (!target || !qobject_cast<QWindow*>(watched)) return target;
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease ||
        event->type() == QEvent::ShortcutOverride)
        return QApplication::focusWidget();
    if (auto* mouse = dynamic_cast<QMouseEvent*>(event)) {
        QWidget* under = target->childAt(target->mapFromGlobal(mouse->globalPosition().toPoint()));
        return under ? under : target;
    }
    return target;
}

bool TakesInputWhileBusy(const QWidget* widget) {
    return widget && widget->isEnabled() && widget->property(kTakesInputWhileBusy).toBool();
}

}  // namespace

void TakeInputWhileBusy(QWidget* control) { control->setProperty(kTakesInputWhileBusy, true); }

bool InputRefusal::eventFilter(QObject* watched, QEvent* event) {
    if (!IsUserInput(event->type())) return false;
    if (TakesInputWhileBusy(InputReceiver(watched, TargetWidget(watched), event))) return false;
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == modalBefore_) return true;
    QWidget* target = TargetWidget(watched);
    return !(target && (target == modal || modal->isAncestorOf(target)));
}

}  // namespace ui
