#pragma once
// Whole presets into the editor, and one channel copied onto the other.
// Every parameter is shown and passed to its send procedure in a fixed
// order: all notches (Left, then Right), then each channel's automatic
// settings.
#include "editor/auto_settings_editor.h"
#include "editor/editor_state.h"
#include "editor/notch_row_editor.h"
#include "devlink/task.h"

namespace editor {

class PresetApplier {
public:
    PresetApplier(EditorState& state, NotchRowEditor& rows, AutoSettingsEditor& autos)
        : s_(state), rows_(rows), autos_(autos) {}

    // Out-of-range codes are clamped in the image first, so what the editor
    // shows is what the image holds. The frames go out as the job that
    // awaits it goes on, a notch or a channel's settings at a time.
    devlink::Task<void> applyPresetToEditor();
    // For an image the device already holds: unlinks, applies with sending
    // suppressed, then allows sending again.
    void fillFromImage();
    // Demo mode: the image takes the default preset and is applied with
    // sending suppressed; sending stays suppressed (start-up clears it).
    void fillFromDefaultImage();
    devlink::Task<void> copyLeftToRight();
    devlink::Task<void> copyRightToLeft();

private:
    devlink::Task<void> copyChannel(int from, int to);


    EditorState& s_;
    NotchRowEditor& rows_;
    AutoSettingsEditor& autos_;
};

}  // namespace editor
