#pragma once
// One step of the edit history: the settings before and after it. Undoing
// puts back only the bytes the step changed, so notches the device's search
// placed since stay where the device put them.
#include <QUndoCommand>

#include "editor/settings_snapshot.h"

namespace editor {

class EditHistory;

class SettingsStep final : public QUndoCommand {
public:
    // `gesture` is nonzero while one press of the mouse lasts: the changes a
    // drag makes are one step.
    SettingsStep(EditHistory& history, const SettingsSnapshot& before, const SettingsSnapshot& after,
                 const QString& text, int gesture);

    void undo() override;
    // The first call comes from the push, when the edit is already done.
    void redo() override;
    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand* other) override;

private:
    // `target`'s values for the bytes this step changed, the current
    // settings everywhere else.
    SettingsSnapshot patched(const SettingsSnapshot& target) const;

    EditHistory& history_;
    SettingsSnapshot before_;
    SettingsSnapshot after_;
    int gesture_;
    bool pushed_ = false;
};

}  // namespace editor
