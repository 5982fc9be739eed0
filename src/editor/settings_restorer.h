#pragma once
// Brings the editor, and the device with it, to earlier settings: only the
// notches and automatic settings that differ are shown and sent, in the
// order a whole preset is applied (notches Left then Right, then each
// channel's automatic settings), through the same send procedures an edit
// uses, so the device gets the very frames that edit would have sent.
#include "editor/auto_settings_editor.h"
#include "editor/editor_state.h"
#include "editor/notch_row_editor.h"
#include "editor/settings_snapshot.h"

namespace editor {

class SettingsRestorer {
public:
    SettingsRestorer(EditorState& state, NotchRowEditor& rows, AutoSettingsEditor& autos)
        : s_(state), rows_(rows), autos_(autos) {}

    SettingsSnapshot current() const { return {s_.image, s_.flags.channelsLinked}; }
    void restore(const SettingsSnapshot& target);

private:
    void restoreNow(const SettingsSnapshot& target);
    void restoreLink(bool linked);
    void restoreChannelSettings(int channel, const model::PresetImage& before);
    void keepAutomaticRowWidths(const model::PresetImage& wanted);

    EditorState& s_;
    NotchRowEditor& rows_;
    AutoSettingsEditor& autos_;
};

}  // namespace editor
