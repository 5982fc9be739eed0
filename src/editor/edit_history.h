#pragma once
// The editor's undo history and the state of its settings against the last
// ones kept (a file saved or loaded, a device preset read or stored).
//
// A step is taken when a user's edit is complete: the editor's parts report
// it with its name, and the settings are compared with those after the last
// step, so an edit that changed nothing takes no step. The device's own
// changes (its search placing notches) are adopted without a step. While a
// named step is open (a preset read through its dialog, a file loaded),
// everything done inside it is that one step.
#include <QObject>
#include <QUndoStack>

#include "editor/editor_state.h"
#include "editor/settings_restorer.h"
#include "editor/settings_snapshot.h"

class QAction;

namespace editor {

class EditHistory final : public QObject {
    Q_OBJECT
public:
    EditHistory(EditorState& state, SettingsRestorer& restorer, QWidget* actionParent);

    QUndoStack& stack() { return stack_; }
    // "Undo Left notch 4 gain" on Ctrl+Z; "Redo ..." on Ctrl+Shift+Z and
    // Ctrl+Y. Both stay disabled while locked.
    QAction* undoAction() const { return undoAction_; }
    QAction* redoAction() const { return redoAction_; }

    void record(const QString& text);
    void beginStep();
    // Closes the step begun last; the outermost one is recorded as `text`.
    void endStep(const QString& text);
    // The settings as they are now, changed by the device, become the start
    // of the next step.
    void adoptCurrent();
    // No steps; the settings as they are now are the kept ones.
    void startOver();
    void markSaved();
    bool isModified() const { return s_.image != saved_; }

    // A running search owns the settings: nothing is undone meanwhile.
    void setLocked(bool locked);
    // While a transfer holds the device an undo would send between its
    // frames: locked too, apart from the search's lock.
    void setBusyLocked(bool locked);
    // Presses of the mouse on `control` group its changes into one step.
    void watchGestures(QWidget* control);

    SettingsSnapshot current() const { return restorer_.current(); }
    // Used by the steps themselves.
    void apply(const SettingsSnapshot& target);

signals:
    void modifiedChanged(bool modified);
    // Any change of the settings, a step's or the device's.
    void settingsChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void afterChange();
    void refreshModified();
    void refreshActions();

    EditorState& s_;
    SettingsRestorer& restorer_;
    QUndoStack stack_;
    QAction* undoAction_;
    QAction* redoAction_;
    SettingsSnapshot committed_;
    model::PresetImage saved_{};
    bool modified_ = false;
    bool locked_ = false;
    bool busyLocked_ = false;
    bool applying_ = false;
    int openSteps_ = 0;
    int gesture_ = 0;
    bool pressed_ = false;
};

}  // namespace editor
