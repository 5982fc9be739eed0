#include "editor/edit_history.h"

#include <QAction>
#include <QEvent>
#include <QKeySequence>

#include "editor/settings_step.h"

namespace editor {

EditHistory::EditHistory(EditorState& state, SettingsRestorer& restorer, QWidget* actionParent)
    : s_(state), restorer_(restorer), committed_(restorer.current()), saved_(state.image) {
    undoAction_ = stack_.createUndoAction(actionParent, QStringLiteral("Undo"));
    redoAction_ = stack_.createRedoAction(actionParent, QStringLiteral("Redo"));
    undoAction_->setObjectName(QStringLiteral("UndoAction"));
    redoAction_->setObjectName(QStringLiteral("RedoAction"));
    // The text names the step ("Undo Load show.Fbk"); the shortcut list and
    // a toolbar name the command.
    undoAction_->setIconText(QStringLiteral("Undo"));
    redoAction_->setIconText(QStringLiteral("Redo"));
    undoAction_->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    redoAction_->setShortcuts({QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))});
    // Connected after the stack's own enabling, so the lock has the last word.
    connect(&stack_, &QUndoStack::canUndoChanged, this, &EditHistory::refreshActions);
    connect(&stack_, &QUndoStack::canRedoChanged, this, &EditHistory::refreshActions);
}

void EditHistory::record(const QString& text) {
    if (applying_ || openSteps_ > 0 || s_.flags.updatingControls) return;
    const SettingsSnapshot now = current();
    if (now == committed_) return;
    const SettingsSnapshot before = committed_;
    committed_ = now;
    stack_.push(new SettingsStep(*this, before, now, text, pressed_ ? gesture_ : 0));
    afterChange();
}

void EditHistory::beginStep() { ++openSteps_; }

void EditHistory::endStep(const QString& text) {
    if (openSteps_ > 0 && --openSteps_ == 0) record(text);
}

void EditHistory::adoptCurrent() {
    const SettingsSnapshot now = current();
    if (now == committed_) return;
    committed_ = now;
    afterChange();
}

void EditHistory::startOver() {
    stack_.clear();
    committed_ = current();
    saved_ = s_.image;
    refreshModified();
}

void EditHistory::markSaved() {
    saved_ = s_.image;
    refreshModified();
}

void EditHistory::apply(const SettingsSnapshot& target) {
    applying_ = true;
    restorer_.restore(target);
    applying_ = false;
    committed_ = current();
    afterChange();
}

void EditHistory::afterChange() {
    emit settingsChanged();
    refreshModified();
}

void EditHistory::refreshModified() {
    if (isModified() == modified_) return;
    modified_ = !modified_;
    emit modifiedChanged(modified_);
}

void EditHistory::setLocked(bool locked) {
    locked_ = locked;
    refreshActions();
}

void EditHistory::setBusyLocked(bool locked) {
    busyLocked_ = locked;
    refreshActions();
}

void EditHistory::refreshActions() {
    const bool locked = locked_ || busyLocked_;
    undoAction_->setEnabled(!locked && stack_.canUndo());
    redoAction_->setEnabled(!locked && stack_.canRedo());
}

void EditHistory::watchGestures(QWidget* control) { control->installEventFilter(this); }

bool EditHistory::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        ++gesture_;
        pressed_ = true;
    } else if (event->type() == QEvent::MouseButtonRelease) {
        pressed_ = false;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace editor
