#include "editor/undo_keys.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>

namespace editor {
namespace {

bool IsShortcutOf(const QKeyEvent& key, const QAction* action) {
    const QKeyCombination pressed = key.keyCombination();
    for (const QKeySequence& shortcut : action->shortcuts())
        if (shortcut.count() == 1 && shortcut[0] == pressed) return true;
    return false;
}

}  // namespace

QAction* UndoKeyAction(const QKeyEvent& key, QAction* undo, QAction* redo) {
    if (IsShortcutOf(key, undo)) return undo;
    if (IsShortcutOf(key, redo)) return redo;
    return nullptr;
}

UndoKeyFilter::UndoKeyFilter(QLineEdit* box, QAction* undo, QAction* redo) : QObject(box), undo_(undo), redo_(redo) {}

void UndoKeyFilter::install(QLineEdit* box, QAction* undo, QAction* redo) {
    box->installEventFilter(new UndoKeyFilter(box, undo, redo));
}

bool UndoKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    QAction* action = UndoKeyAction(*static_cast<QKeyEvent*>(event), undo_, redo_);
    if (!action) return QObject::eventFilter(watched, event);
    if (type == QEvent::ShortcutOverride) {
        // Claimed for the box, so the key arrives here rather than at the
        // window's shortcut, which would fire only where no box has focus.
        event->accept();
        return true;
    }
    if (action->isEnabled()) action->trigger();
    return true;
}

}  // namespace editor
