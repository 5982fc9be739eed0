#pragma once
// A channel's six automatic search settings (settingsFrame): five spin arrows with
// their value texts, and the sensitivity slider with its box.
#include "editor/editor_controls.h"

namespace editor {

QGroupBox* BuildSettingsFrame(int channel, ChannelSettingsControls& controls);

}  // namespace editor
