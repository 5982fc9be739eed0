#pragma once
// A menu command that stands for one of the editor's check boxes or
// buttons: triggering it clicks that control, so whatever the control does
// (its frames, its question, its lock, a refusal while the device is busy)
// happens exactly as for a click; the command shows the control's check
// and is disabled while the control is.
class QAbstractButton;
class QAction;

namespace app {

void BindActionToControl(QAction& action, QAbstractButton& control);

}  // namespace app
