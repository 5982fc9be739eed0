#include "app/editor_sub_window.h"

#include <QApplication>

namespace app {
namespace {

bool IsTabStop(const QWidget* w, const QWidget* within) {
    return w != within && within->isAncestorOf(w) && w->isVisibleTo(within) && w->isEnabled() &&
           (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy();
}

}  // namespace

bool EditorSubWindow::focusNextPrevChild(bool next) {
    QWidget* first = nullptr;
    QWidget* last = nullptr;
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        if (!IsTabStop(w, this)) continue;
        if (!first) first = w;
        last = w;
    }
    QWidget* focus = QApplication::focusWidget();
    if (focus && leave_ && focus == (next ? last : first)) {
        leave_(next);
        return true;
    }
    return QMdiSubWindow::focusNextPrevChild(next);
}

}  // namespace app
