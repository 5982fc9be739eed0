#pragma once
// The editor's settings as one value: what a step changes and what undoing
// it brings back. The link is part of it, as linking copies one channel over
// the other and loading a preset unlinks.
#include "model/preset_image.h"

namespace editor {

struct SettingsSnapshot {
    model::PresetImage image{};
    bool linked = false;
    bool operator==(const SettingsSnapshot&) const = default;
};

}  // namespace editor
