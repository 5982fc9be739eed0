#include "app/editor_frame.h"

#include <QApplication>
#include <QVBoxLayout>

namespace app {
namespace {

bool IsTabStop(const QWidget* w, const QWidget* within) {
    return w != within && within->isAncestorOf(w) && w->isVisibleTo(within) && w->isEnabled() &&
           (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy();
}

}  // namespace

EditorFrame::EditorFrame(QWidget* editor, std::function<void(bool next)> leave, QWidget* parent)
    : QWidget(parent), leave_(std::move(leave)) {
    setObjectName(QStringLiteral("EditorFrame"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(editor);
}

bool EditorFrame::focusNextPrevChild(bool next) {
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
    return QWidget::focusNextPrevChild(next);
}

}  // namespace app
