#pragma once
// The automatic search settings of each channel: five spin arrows and the
// sensitivity slider with its box. A handler always stores and shows; it
// sends and mirrors to the other channel only when the user made the
// change.
#include "editor/editor_state.h"
#include "editor/notch_row_editor.h"

namespace editor {

class AutoSettingsEditor {
public:
    using AutoSetting = notch::AutoSetting;

    AutoSettingsEditor(EditorState& state, NotchRowEditor& rows) : s_(state), rows_(rows) {}

    void connectControls();

    // Commit procedures: each reads its control, stores, shows, writes the
    // image byte and sends.
    void sendAutoNotchCount(int channel);
    void sendAutoNotchWidth(int channel);
    void sendAttenuation(int channel);
    void sendSensitivity(int channel);
    void sendReleaseSpeed(int channel);
    void sendSearchMode(int channel);
    // All six in the order a preset is applied; a copy onto the Left channel
    // sends its sensitivity after the two speed settings.
    void sendChannelSettings(int channel, bool sensitivityLast);
    // The setting's own send procedure, as the user's change calls it.
    void commitSetting(AutoSetting setting, int channel);

    int controlValue(AutoSetting setting, int channel) const;
    // Sets the control; the slider without its signals, so only the user's
    // moves reach its handler.
    void setControlValue(AutoSetting setting, int channel, int value);

private:
    void onSpinChanged(AutoSetting setting, int channel);
    void onQSpinExtra(int channel, unsigned edit);
    void onSliderMoved(int channel);
    bool commitSensitivityBox(int channel);
    // Unless a newer edit of the same control overtook `edit` meanwhile.
    void mirrorSensitivity(int from, unsigned edit);
    // Control value into state, image byte and value text.
    void storeSetting(AutoSetting setting, int channel);
    void showSetting(AutoSetting setting, int channel);
    void setSliderQuietly(int channel, int position);

    EditorState& s_;
    NotchRowEditor& rows_;
};

}  // namespace editor
